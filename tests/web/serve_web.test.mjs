// The site server: the MIME types browsers require, every response checked again before a kept copy
// is used, folders and their index pages, and nothing served from outside the folder, however the
// path is written.

import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { serveFolder } from '../../tools/serve_web.mjs';

const serverScript = fileURLToPath(new URL('../../tools/serve_web.mjs', import.meta.url));

let parent;  // holds the site folder and, beside it, a file that must never be served
let root;
let site;

before(async () => {
  parent = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-serve-'));
  root = path.join(parent, 'site');
  fs.mkdirSync(path.join(root, 'sub'), { recursive: true });
  fs.writeFileSync(path.join(parent, 'secret.txt'), 'secret');
  fs.writeFileSync(path.join(root, 'index.html'), '<p>index</p>');
  fs.writeFileSync(path.join(root, 'sub', 'index.html'), '<p>sub</p>');
  for (const name of ['a.js', 'a.mjs', 'a.wasm', 'a.webmanifest', 'a.json', 'a.png', 'a.gif', 'a.svg', 'a.css',
                      'a.ico', 'a.bin', 'A.WASM', 'two words.txt']) {
    fs.writeFileSync(path.join(root, name), name);
  }
  fs.symlinkSync(path.join(parent, 'secret.txt'), path.join(root, 'link-out.txt'));
  fs.symlinkSync(path.join(root, 'a.json'), path.join(root, 'link-in.json'));
  site = await serveFolder(root);
});

after(async () => {
  await site?.close();
  if (parent) fs.rmSync(parent, { recursive: true, force: true });
});

// One request with the path exactly as given (fetch would tidy "..").
function request(target, method = 'GET', url = site.url, headers = {}) {
  const { hostname, port } = new URL(url);
  return new Promise((resolve, reject) => {
    const outgoing = http.request({ hostname, port, path: target, method, headers }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () =>
        resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks).toString() }),
      );
    });
    outgoing.on('error', reject);
    outgoing.end();
  });
}

test('each kind of file has the MIME type browsers require', async () => {
  const expected = {
    '/': 'text/html; charset=utf-8',
    '/index.html': 'text/html; charset=utf-8',
    '/a.js': 'text/javascript; charset=utf-8',
    '/a.mjs': 'text/javascript; charset=utf-8',
    '/a.wasm': 'application/wasm',
    '/A.WASM': 'application/wasm',
    '/a.webmanifest': 'application/manifest+json',
    '/a.json': 'application/json',
    '/a.png': 'image/png',
    '/a.gif': 'image/gif',
    '/a.svg': 'image/svg+xml',
    '/a.css': 'text/css; charset=utf-8',
    '/a.ico': 'image/x-icon',
    '/a.bin': 'application/octet-stream',
    '/two%20words.txt': 'text/plain; charset=utf-8',
  };
  for (const [target, type] of Object.entries(expected)) {
    const response = await request(target);
    assert.equal(response.status, 200, target);
    assert.equal(response.headers['content-type'], type, target);
    assert.equal(response.headers['x-content-type-options'], 'nosniff', target);
  }
  assert.equal((await request('/a.wasm')).body, 'a.wasm');
});

test('every response is checked again before a kept copy is used, so a reload shows the latest build', async () => {
  for (const target of ['/', '/a.wasm', '/a.js', '/missing', '/sub']) {
    const response = await request(target);
    assert.equal(response.headers['cache-control'], 'no-cache', target);
    for (const header of ['expires', 'last-modified']) assert.equal(response.headers[header], undefined, target);
  }
  fs.writeFileSync(path.join(root, 'b.js'), 'built');
  const built = await request('/b.js');
  assert.match(built.headers.etag, /^"[A-Za-z0-9_-]+"$/);
  assert.equal((await request('/b.js', 'HEAD')).headers.etag, built.headers.etag);
  // A copy the browser kept is confirmed without the file being sent again, whichever way the
  // request names it.
  for (const named of [built.headers.etag, `"other", ${built.headers.etag}`, `W/${built.headers.etag}`, '*']) {
    const confirmed = await request('/b.js', 'GET', site.url, { 'If-None-Match': named });
    assert.equal(confirmed.status, 304, named);
    assert.equal(confirmed.body, '', named);
    assert.equal(confirmed.headers.etag, built.headers.etag, named);
    assert.equal(confirmed.headers['cache-control'], 'no-cache', named);
  }
  assert.equal((await request('/b.js', 'GET', site.url, { 'If-None-Match': '"other"' })).status, 200);
  // Rebuilt with other bytes of the same length, at once: the tag follows the contents.
  fs.writeFileSync(path.join(root, 'b.js'), 'BUILT');
  const rebuilt = await request('/b.js', 'GET', site.url, { 'If-None-Match': built.headers.etag });
  assert.equal(rebuilt.status, 200);
  assert.equal(rebuilt.body, 'BUILT');
  assert.notEqual(rebuilt.headers.etag, built.headers.etag);
});

test('a folder serves its index page, and without its slash is sent to it by a relative address', async () => {
  assert.equal((await request('/')).body, '<p>index</p>');
  assert.equal((await request('/sub/')).body, '<p>sub</p>');
  assert.equal((await request('/sub/?x=1')).body, '<p>sub</p>');
  const redirect = await request('/sub');
  assert.equal(redirect.status, 301);
  assert.equal(redirect.headers.location, 'sub/');
});

test('nothing outside the folder is served, however the path is written', async () => {
  const refused = {
    '/../secret.txt': 403,
    '/sub/../../secret.txt': 403,
    '/%2e%2e/secret.txt': 403,
    '/%2E%2E/secret.txt': 403,
    '/..%2fsecret.txt': 403,
    '/sub/%2e%2e%2f%2e%2e%2fsecret.txt': 403,
    '/..': 403,
    '/link-out.txt': 403,
    '/..%5csecret.txt': 400,
    '/a.js%00.html': 400,
    '/%E0%A4%A': 400,
    'http://127.0.0.1/../secret.txt': 400,
    '*': 400,
  };
  for (const [target, status] of Object.entries(refused)) {
    const response = await request(target);
    assert.equal(response.status, status, target);
    assert.doesNotMatch(response.body, /secret/, target);
  }
  // A link that stays inside is followed.
  assert.equal((await request('/link-in.json')).body, 'a.json');
});

test('only GET and HEAD are answered, and what is missing is not found', async () => {
  const head = await request('/a.wasm', 'HEAD');
  assert.equal(head.status, 200);
  assert.equal(head.headers['content-length'], String('a.wasm'.length));
  assert.equal(head.body, '');
  for (const method of ['POST', 'PUT', 'DELETE']) {
    const response = await request('/a.js', method);
    assert.equal(response.status, 405, method);
    assert.equal(response.headers.allow, 'GET, HEAD', method);
  }
  assert.equal((await request('/missing.js')).status, 404);
  assert.equal((await request('/index.html/x')).status, 404);
});

// Starts the script and resolves to its first line of output, or to its exit when it ends first.
function runScript(args) {
  return new Promise((resolve) => {
    const child = spawn(process.execPath, [serverScript, ...args], { stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    const onData = (chunk) => {
      output += chunk;
      if (output.includes('\n')) resolve({ child, output });
    };
    child.stdout.on('data', onData);
    child.stderr.on('data', onData);
    child.on('exit', (code) => resolve({ child, output, code }));
  });
}

test('the script serves a folder on 127.0.0.1 and prints the address', async () => {
  const { child, output } = await runScript([root, '--port', '0']);
  try {
    const address = output.match(/http:\/\/127\.0\.0\.1:\d+\//)?.[0];
    assert.ok(address, output);
    assert.equal((await request('/sub/', 'GET', address)).body, '<p>sub</p>');
  } finally {
    child.kill();
  }
});

test('the script names the folder it cannot serve', async () => {
  const missing = path.join(parent, 'no-such-site');
  const { child, output, code } = await runScript([missing]);
  if (code === undefined) await new Promise((resolve) => child.on('exit', resolve));
  assert.match(output, /no-such-site/);
  assert.notEqual(child.exitCode, 0);
});
