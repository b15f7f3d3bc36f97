'use strict';
// The game's page played in headless Chromium as a player plays it: served over HTTP, keys
// pressed through the browser's own input, the canvas read back and compared with the forged
// pictures, the player's files read from the page's storage.
// Usage: node page_test.js <site folder> <forged assets folder>
const assert = require('assert/strict');
const path = require('path');
const {test} = require('node:test');
const {Browser, serve, sleep} = require('./browser');
const {Picture, locate} = require('./picture');

const [site, assets] = process.argv.slice(2);
const WIDTH = 900, HEIGHT = 732;
const LOG = '/home/web_user/.local/state/skyrift/log.txt';
const CONTROLS = '/home/web_user/.config/skyrift/controls.txt';
const KEY = {enter: [13, 'Enter'], f11: [122, 'F11'], one: [49, '1'], left: [37, 'ArrowLeft'],
  j: [74, 'j']};
// The ship's first place in a one-player game, and its picture's four frames.
const SHIP_START = {x: 425, y: 500};
const SHIP_FRAMES = 4;
// A load on a busy machine takes seconds; nothing here waits a fixed time for the game.
const PATIENCE = 60;

const title = Picture.fromBmp(path.join(assets, 'title.bmp'));
const ship = Picture.fromBmp(path.join(assets, 'player1.bmp'));

async function grab(page) {
  const base64 = await page.evaluate(`(() => {
    const data = document.getElementById('canvas').getContext('2d')
        .getImageData(0, 0, ${WIDTH}, ${HEIGHT}).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    }
    return btoa(text);
  })()`);
  return Picture.fromCanvas(WIDTH, HEIGHT, base64);
}

async function logLines(page) {
  return (await page.evaluate(`FS.readFile('${LOG}', {encoding: 'utf8'})`)).split('\n');
}

function frames(page) {
  return page.evaluate('Module.skyriftFrames || 0');
}

// The title picture everywhere but the band the prompts are drawn in and the key plates the game
// letters from the bindings.
function titleMismatches(shot) {
  let mismatches = 0;
  for (let y = 10; y < HEIGHT; y += 37) {
    for (let x = 10; x < WIDTH; x += 41) {
      if (y >= 440 && y < 560 && x >= 140 && x < 760) continue;
      if (x >= 228 && x < 768 && y >= 611 && y < 693) continue;
      if (shot.at(x, y) !== title.at(x, y)) ++mismatches;
    }
  }
  return mismatches;
}

// Waits for the ship on its row, near `from`, and returns where it is.
async function findShip(page, from, reach) {
  const deadline = Date.now() + PATIENCE * 1000;
  for (;;) {
    const found = locate(await grab(page), ship, SHIP_FRAMES, Math.max(-25, from.x - reach),
        from.y, Math.min(875, from.x + reach), from.y, 0.85);
    if (found) return found;
    if (Date.now() > deadline) throw new Error(`no ship near (${from.x}, ${from.y})`);
    await sleep(50);
  }
}

// Starts a one-player game from the title and waits for the ship where it starts.
async function startOnePlayerGame(page) {
  await page.hold(...KEY.enter, 300);
  await page.hold(...KEY.one, 300);
  await page.waitFor(`FS.readFile('${LOG}', {encoding: 'utf8'}).includes('CreatePlayers() start')`,
      PATIENCE, 'the players to be made');
  return findShip(page, SHIP_START, 0);
}

// Holds the key (or the pad's stick) until the ship has gone more than 30 pixels (four frames)
// left of `from`.
async function holdMovesShipLeft(page, press, release, from) {
  await press();
  try {
    const deadline = Date.now() + PATIENCE * 1000;
    for (let at = from; from.x - at.x <= 30; at = await findShip(page, at, 100)) {
      if (Date.now() > deadline) assert.fail(`the ship went from x = ${from.x} to ${at.x} only`);
    }
  } finally {
    await release();
  }
}

function holdKey(page, key, from) {
  return holdMovesShipLeft(page, () => page.key('rawKeyDown', ...key),
      () => page.key('keyUp', ...key), from);
}

// A pad in the standard mapping, as the Gamepad API reports one, whose stick the test moves.
const PLUG_IN_PAD = `(() => {
  const pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
    buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  navigator.getGamepads = () => [pad];
  window.testPad = pad;
  return true;
})()`;

test('the page plays', async t => {
  const server = await serve(site);
  const browser = await Browser.launch();
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  let page;
  t.after(async () => {
    if (page && process.exitCode) console.log(page.console.join('\n'));
    await browser.close();
    server.close();
  });
  page = await browser.open();
  const loadStarted = Date.now();
  await page.navigate(url);

  await t.test('the title shows as the forged picture', async () => {
    await page.waitFor('Module.skyriftFrames > 0', PATIENCE, 'the first frame');
    console.log(`first frame ${Date.now() - loadStarted} ms after the page was asked for`);
    assert.equal(titleMismatches(await grab(page)), 0);
    // Browsers let a page sound only after a key or a click: nothing is made before.
    assert.equal(await page.evaluate('Module.skyriftAudio.state'), 'waiting');
    // F11 and Alt+Enter switch fullscreen, as the other builds do.
    await page.hold(...KEY.f11, 100);
    await page.waitFor('document.fullscreenElement !== null', PATIENCE, 'fullscreen');
    await page.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', windowsVirtualKeyCode: 13,
      key: 'Enter', modifiers: 1});
    await page.send('Input.dispatchKeyEvent', {type: 'keyUp', windowsVirtualKeyCode: 13,
      key: 'Enter', modifiers: 1});
    await page.waitFor('document.fullscreenElement === null', PATIENCE, 'the page back');
    // Keys count once the page has the focus and the game is awake.
    await page.waitFor(`FS.readFile('${LOG}', {encoding: 'utf8'}).includes('GameActivate()')`,
        PATIENCE, 'the game to wake');
  });

  await t.test('Enter and 1 start a game, and holding Left moves the ship', async () => {
    const at = await startOnePlayerGame(page);
    await holdKey(page, KEY.left, at);
  });

  await t.test("a pad's stick steers the ship", async () => {
    await page.evaluate(PLUG_IN_PAD);
    const at = await findShip(page, SHIP_START, 450);
    await holdMovesShipLeft(page, () => page.evaluate('testPad.axes[0] = -1'),
        () => page.evaluate('testPad.axes[0] = 0'), at);
  });

  await t.test('the first key starts the sound: the audio runs and mixes blocks that are heard',
      async () => {
        await page.waitFor(`Module.skyriftAudio.state === 'running' &&
            Module.skyriftAudio.loudBlocks > 10`, PATIENCE, 'the music to be heard');
      });

  await t.test('a stage runs 230 to 240 frames in 10 s', async () => {
    await page.send('Performance.enable');
    const busy = async () => (await page.send('Performance.getMetrics')).metrics
        .find(metric => metric.name === 'TaskDuration').value;
    const busyBefore = await busy();
    const count = await page.evaluate(`new Promise(done => {
      const first = Module.skyriftFrames;
      setTimeout(() => done(Module.skyriftFrames - first), 10000);
    })`);
    const cpu = (await busy() - busyBefore) / 10 * 100;
    console.log(`${count} frames in 10 s; the page's thread busy ${cpu.toFixed(1)} % of the time`);
    assert.ok(count >= 230 && count <= 240, `${count} frames`);
  });

  await t.test('a hidden page runs no frame, and runs again when shown', async () => {
    // Another tab in front hides the page, as a player switching tabs does.
    const {targetId} = await browser.send('Target.createTarget', {url: 'about:blank'});
    await page.waitFor('document.hidden', PATIENCE, 'the page to be hidden');
    await page.waitFor(`FS.readFile('${LOG}', {encoding: 'utf8'}).includes('GameDeactive()')`,
        PATIENCE, 'the game to lose the focus');
    const hidden = await frames(page);
    await sleep(1000);
    assert.equal(await frames(page), hidden, 'frames ran while the page was hidden');
    await browser.send('Target.closeTarget', {targetId});
    await browser.send('Target.activateTarget', {targetId: page.targetId});
    await page.waitFor(`Module.skyriftFrames > ${hidden}`, PATIENCE, 'frames once shown again');
  });

  await t.test('controls.txt edited in storage binds its new key after a reload', async () => {
    // Player 1's left becomes J.
    const codes = '38 40 74 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81';
    await page.evaluate(`new Promise((done, fail) => {
      FS.writeFile('${CONTROLS}', '${codes}\\n');
      FS.syncfs(false, error => error ? fail(error) : done(true));
    })`);
    await page.reload();
    await page.waitFor('Module.skyriftFrames > 0', PATIENCE, 'the first frame after the reload');
    const log = await logLines(page);
    assert.deepEqual(log.slice(0, 8), ['GameInitialize()', '', 'Controls:',
      codes.replaceAll(' ', ''), '', 'CreateBitmaps()', 'GameStart()', 'NewGame()']);
    const at = await startOnePlayerGame(page);
    await holdKey(page, KEY.j, at);
  });
});
