# Turns a Windows resource script, with the image lists it includes, into an assembly file that
# embeds each listed file with .incbin, plus a table the game looks resources up in by number and
# type.
# A BITMAP is stored as a resource compiler stores it: the file without its 14-byte header.
# WebAssembly's assembler wants each piece of data in a section of its own with its size given,
# and its pointers are 32 bits wide.
function(skyrift_embed_resources rc_file asset_dir out_file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc_file})
  file(STRINGS ${rc_file} lines REGEX "^([0-9]+[ \t]+(BITMAP|ICON|RCDATA)[ \t]+\"|#include \")")
  # The rows of an included list, IMAGE(id, "file", ...), are bitmaps.
  get_filename_component(rc_dir ${rc_file} DIRECTORY)
  set(expanded "")
  foreach(line ${lines})
    if(line MATCHES "^#include \"([^\"]+)\"")
      set(list_file ${rc_dir}/${CMAKE_MATCH_1})
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
      file(STRINGS ${list_file} rows REGEX "^IMAGE\\([0-9]+, *\"")
      foreach(row ${rows})
        string(REGEX REPLACE "^IMAGE\\(([0-9]+), *(\"[^\"]+\").*" "\\1 BITMAP \\2" row ${row})
        list(APPEND expanded ${row})
      endforeach()
    else()
      list(APPEND expanded ${line})
    endif()
  endforeach()
  set(lines ${expanded})
  set(blobs "")
  set(table "")
  set(count 0)
  foreach(line ${lines})
    string(REGEX MATCH "^([0-9]+)[ \t]+([A-Z]+)[ \t]+\"([^\"]+)\"" _ ${line})
    set(id ${CMAKE_MATCH_1})
    set(kind ${CMAKE_MATCH_2})
    set(name ${CMAKE_MATCH_3})
    if(kind STREQUAL "BITMAP")
      set(type 2)
      set(skip ", 14")
    elseif(kind STREQUAL "ICON")
      set(type 14)
      set(skip "")
    else()
      set(type 10)
      set(skip "")
    endif()
    if(CMAKE_SYSTEM_NAME STREQUAL "Emscripten")
      string(APPEND blobs "    .section .rodata.skyrift_res_${count},\"\",@\n    .p2align 4\n"
        "res_${count}:\n    .incbin \"${asset_dir}/${name}\"${skip}\n.Lres_${count}_end:\n"
        "    .size res_${count}, .Lres_${count}_end - res_${count}\n")
      string(APPEND table "    .int16 ${id}\n    .int16 ${type}\n    .int32 0\n    .int32 res_${count}\n"
        "    .int32 0\n    .int64 .Lres_${count}_end - res_${count}\n")
    else()
      string(APPEND blobs "    .balign 16\nres_${count}:\n    .incbin \"${asset_dir}/${name}\"${skip}\nres_${count}_end:\n")
      string(APPEND table "    .short ${id}, ${type}\n    .long 0\n    .quad res_${count}\n    .quad res_${count}_end - res_${count}\n")
    endif()
    math(EXPR count "${count} + 1")
  endforeach()
  if(CMAKE_SYSTEM_NAME STREQUAL "Emscripten")
    math(EXPR table_size "${count} * 24")
    file(WRITE ${out_file}.tmp
      "# Generated from ${rc_file}; do not edit.\n${blobs}"
      "    .section .data.rel.ro.skyrift_resource_table,\"\",@\n    .p2align 3\n"
      "    .globl skyrift_resource_table\nskyrift_resource_table:\n${table}"
      "    .size skyrift_resource_table, ${table_size}\n"
      "    .section .rodata.skyrift_resource_count,\"\",@\n    .p2align 3\n"
      "    .globl skyrift_resource_count\nskyrift_resource_count:\n    .int64 ${count}\n"
      "    .size skyrift_resource_count, 8\n")
    configure_file(${out_file}.tmp ${out_file} COPYONLY)
    return()
  endif()
  file(WRITE ${out_file}.tmp
    "# Generated from ${rc_file}; do not edit.\n"
    "    .section .rodata\n${blobs}"
    "    .section .data.rel.ro\n    .balign 8\n    .globl skyrift_resource_table\n"
    "skyrift_resource_table:\n${table}"
    "    .globl skyrift_resource_count\nskyrift_resource_count:\n    .quad ${count}\n"
    "#ifdef __ELF__\n    .section .note.GNU-stack,\"\",@progbits\n#endif\n")
  configure_file(${out_file}.tmp ${out_file} COPYONLY)
endfunction()
