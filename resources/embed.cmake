# Turns a Windows resource script, with the image lists it includes, into an assembly file that
# embeds each listed file with .incbin, plus a table the game looks resources up in by number and
# type.
# A BITMAP is stored as a resource compiler stores it: the file without its 14-byte header.
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
    string(APPEND blobs "    .balign 16\nres_${count}:\n    .incbin \"${asset_dir}/${name}\"${skip}\nres_${count}_end:\n")
    string(APPEND table "    .short ${id}, ${type}\n    .long 0\n    .quad res_${count}\n    .quad res_${count}_end - res_${count}\n")
    math(EXPR count "${count} + 1")
  endforeach()
  file(WRITE ${out_file}.tmp
    "# Generated from ${rc_file}; do not edit.\n"
    "    .section .rodata\n${blobs}"
    "    .section .data.rel.ro\n    .balign 8\n    .globl skyrift_resource_table\n"
    "skyrift_resource_table:\n${table}"
    "    .globl skyrift_resource_count\nskyrift_resource_count:\n    .quad ${count}\n"
    "#ifdef __ELF__\n    .section .note.GNU-stack,\"\",@progbits\n#endif\n")
  configure_file(${out_file}.tmp ${out_file} COPYONLY)
endfunction()
