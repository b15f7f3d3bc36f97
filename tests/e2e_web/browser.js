'use strict';
// A headless Chromium driven through its DevTools protocol over a pipe (no port, no socket
// library): commands go out as JSON on descriptor 3, answers and events come back on 4, each
// message ended by a NUL byte. Also a small static server for the site, since the page fetches
// its WebAssembly and data, which a file:// address does not allow.
const {spawn} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const CHROMIUM = process.env.SKYRIFT_CHROMIUM || '/usr/bin/chromium';

class Browser {
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'skyrift-chromium-'));
    const child = spawn(CHROMIUM, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-dev-shm-usage', `--user-data-dir=${profile}`,
      '--remote-debugging-pipe', 'about:blank',
    ], {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
    const browser = new Browser(child, profile);
    child.stderr.on('data', chunk => { browser.stderr += chunk; });
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.stderr = '';
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffered = Buffer.alloc(0);
    child.stdio[4].on('data', chunk => {
      buffered = Buffer.concat([buffered, chunk]);
      for (let end = buffered.indexOf(0); end >= 0; end = buffered.indexOf(0)) {
        this.receive(JSON.parse(buffered.subarray(0, end).toString('utf8')));
        buffered = buffered.subarray(end + 1);
      }
    });
    this.exited = new Promise(resolve => child.on('exit', resolve));
  }

  receive(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (!waiting) return;
      if (message.error) {
        waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
      } else {
        waiting.resolve(message.result);
      }
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, {resolve, reject, method});
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // A new tab, with a session on it.
  async open(url) {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    const page = new Page(this, targetId, sessionId);
    await page.send('Runtime.enable');
    await page.send('Page.enable');
    if (url) await page.navigate(url);
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), sleep(3000)]);
    } catch (ignored) {
      // already gone
    }
    const exited = await Promise.race([this.exited.then(() => true), sleep(5000).then(() => false)]);
    if (!exited) this.child.kill('SIGKILL');
    fs.rmSync(this.profile, {recursive: true, force: true});
  }
}

class Page {
  constructor(browser, targetId, sessionId) {
    this.browser = browser;
    this.targetId = targetId;
    this.sessionId = sessionId;
    this.console = [];
    this.crash = null;
    browser.listeners.push(message => {
      if (message.sessionId !== sessionId) return;
      if (message.method === 'Runtime.consoleAPICalled') {
        this.console.push(message.params.args.map(arg => arg.value ?? arg.description).join(' '));
      } else if (message.method === 'Runtime.exceptionThrown') {
        this.crash = message.params.exceptionDetails.exception?.description;
        this.console.push('exception: ' + this.crash);
      }
    });
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  async navigate(url) {
    const loaded = new Promise(resolve => {
      const listener = message => {
        if (message.sessionId === this.sessionId && message.method === 'Page.loadEventFired') {
          this.browser.listeners.splice(this.browser.listeners.indexOf(listener), 1);
          resolve();
        }
      };
      this.browser.listeners.push(listener);
    });
    this.crash = null;
    await this.send('Page.navigate', {url});
    await loaded;
  }

  async reload() {
    await this.navigate(await this.evaluate('location.href'));
  }

  // The value of an expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const {result, exceptionDetails} = await this.send('Runtime.evaluate',
        {expression, returnByValue: true, awaitPromise: true});
    if (exceptionDetails) {
      throw new Error(`${expression}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
    }
    return result.value;
  }

  // Waits until the expression is true, or fails after `seconds`, or at once when the game has
  // stopped with an exception: it would never come true then.
  async waitFor(expression, seconds, what) {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
      if (await this.evaluate(expression)) return;
      if (this.crash) throw new Error(`the page stopped waiting for ${what}: ${this.crash}`);
      if (Date.now() > deadline) throw new Error(`gave up after ${seconds} s waiting for ${what}`);
      await sleep(50);
    }
  }

  // A key as the browser's own input makes it: trusted, with its Windows key code.
  async key(type, code, key) {
    await this.send('Input.dispatchKeyEvent', {type, windowsVirtualKeyCode: code, key,
      nativeVirtualKeyCode: code});
  }

  // Holds a key down across several frames, since the game looks at its keys once a frame.
  async hold(code, key, ms) {
    await this.key('rawKeyDown', code, key);
    await sleep(ms);
    await this.key('keyUp', code, key);
  }
}

// The site's folder over HTTP on a free port of this machine.
function serve(folder) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.data': 'application/octet-stream'};
  const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, 'http://localhost').pathname) || 'index.html';
    fs.readFile(path.join(folder, name), (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, {'Content-Type': types[path.extname(name)] || 'text/plain'});
      response.end(bytes);
    });
  });
  return new Promise(resolve => {
    server.listen(0, '127.0.0.1', () => resolve(server));
  });
}

function sleep(ms) {
  return new Promise(resolve => setTimeout(resolve, ms));
}

module.exports = {Browser, serve, sleep};
