// The player's folder (controls.txt, log.txt) lives in the browser's storage: read into the
// page's files before the game starts, and written back a moment after the game changes it, and
// when the page is hidden or left, so that the next visit finds it.
Module.preRun = Module.preRun || [];
Module.preRun.push(() => {
  const home = '/home/web_user';
  FS.mkdirTree(home);
  FS.mount(IDBFS, {}, home);
  addRunDependency('storage');
  FS.syncfs(true, error => {
    if (error) console.error('Skyrift: the browser\'s storage cannot be read:', error);
    removeRunDependency('storage');
  });
  let saving = false;
  const save = () => {
    if (saving) return;
    saving = true;
    FS.syncfs(false, error => {
      saving = false;
      if (error) console.error('Skyrift: the browser\'s storage cannot be written:', error);
    });
  };
  Module.saveStorage = save;
  setInterval(save, 1000);
  addEventListener('pagehide', save);
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) save();
  });
});
