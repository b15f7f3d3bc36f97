'use strict';
// The keys controls.txt binds, shown beside the game, and the file itself to download, edit and
// upload again. The game reads its controls once, as it starts: an upload reloads the page.
(() => {
  const actions = ['up', 'down', 'left', 'right', 'fire', 'bomb', 'bullet time', 'recharge', 'menu'];
  const names = {8: 'Backspace', 9: 'Tab', 13: 'Enter', 16: 'Shift', 17: 'Ctrl', 18: 'Alt',
    19: 'Pause', 20: 'Caps Lock', 27: 'Esc', 32: 'Space', 33: 'Page Up', 34: 'Page Down',
    35: 'End', 36: 'Home', 37: 'Left', 38: 'Up', 39: 'Right', 40: 'Down', 45: 'Insert',
    46: 'Delete', 186: ';', 187: '=', 188: ',', 189: '-', 190: '.', 191: '/', 192: '`',
    219: '[', 220: '\\', 221: ']', 222: "'"};
  const keyName = code => {
    if (code === 0) return '(none)';
    if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90)) return String.fromCharCode(code);
    if (code >= 96 && code <= 105) return 'Keypad ' + (code - 96);
    if (code >= 112 && code <= 123) return 'F' + (code - 111);
    return names[code] || 'key ' + code;
  };
  // The same reading as the game's: whole numbers separated by white space, up to the first
  // that is not one.
  const codes = text => {
    const found = [];
    for (const word of text.split(/\s+/).filter(Boolean).slice(0, 18)) {
      if (!/^[+-]?\d+/.test(word)) break;
      found.push(parseInt(word, 10));
    }
    while (found.length < 18) found.push(0);
    return found;
  };
  const show = () => {
    const text = FS.readFile(Module.skyriftControls, {encoding: 'utf8'});
    const bound = codes(text);
    const table = document.getElementById('bindings');
    table.innerHTML = '<tr><th></th><th>player 1</th><th>player 2</th></tr>';
    actions.forEach((action, i) => {
      const row = table.insertRow();
      row.insertCell().textContent = action;
      row.insertCell().textContent = keyName(bound[i]);
      row.insertCell().textContent = keyName(bound[i + 9]);
    });
  };
  Module.onControlsPlaced = () => {
    try {
      show();
    } catch (error) {
      console.error('Skyrift: cannot show the controls:', error);
    }
  };
  document.getElementById('download').addEventListener('click', () => {
    if (!Module.skyriftControls) return;
    const bytes = FS.readFile(Module.skyriftControls);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    link.download = 'controls.txt';
    link.click();
    URL.revokeObjectURL(link.href);
  });
  document.getElementById('upload').addEventListener('change', async event => {
    const file = event.target.files[0];
    if (!file || !Module.skyriftControls) return;
    FS.writeFile(Module.skyriftControls, new Uint8Array(await file.arrayBuffer()));
    FS.syncfs(false, () => location.reload());
  });
})();
