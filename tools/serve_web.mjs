#!/usr/bin/env node
// A small static server for the web page: serves one folder on 127.0.0.1, with the MIME types a
// browser insists on (a .wasm only compiles while streaming as application/wasm). A browser must
// check every response with the server before it uses a copy it kept (no-cache), so that a reload
// always shows the latest build: a file's ETag is a hash of its contents, and a request naming the
// current one is answered 304 Not Modified, without the file. Nothing outside the folder is served.
//
//   node tools/serve_web.mjs [FOLDER] [--port N]     (FOLDER defaults to build/web/site, N to 8000)
//
// The browser tests import createSiteServer and listen on a free port instead.

import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const mimeTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.gif': 'image/gif',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.txt': 'text/plain; charset=utf-8',
};

function send(response, status, headers, body) {
  response.writeHead(status, { 'Cache-Control': 'no-cache', ...headers });
  response.end(body);
}

const entityTag = (body) => `"${crypto.createHash('sha256').update(body).digest('base64url').slice(0, 22)}"`;

// Whether an If-None-Match header names the tag (or any tag, "*").
function names(header, tag) {
  if (header === undefined) return false;
  return header.split(',').some((named) => {
    const trimmed = named.trim();
    return trimmed === '*' || trimmed === tag || trimmed === `W/${tag}`;
  });
}

function refuse(response, status, text) {
  send(response, status, { 'Content-Type': 'text/plain; charset=utf-8' }, `${status} ${text}\n`);
}

// Whether file (a full path) lies in root or below it.
function inside(root, file) {
  const relative = path.relative(root, file);
  return relative !== '..' && !relative.startsWith(`..${path.sep}`) && !path.isAbsolute(relative);
}

async function handle(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    send(response, 405, { Allow: 'GET, HEAD', 'Content-Type': 'text/plain; charset=utf-8' }, '405 Method Not Allowed\n');
    return;
  }
  // A path only, as browsers send it: not an absolute URL, not "*".
  if (!request.url.startsWith('/')) {
    refuse(response, 400, 'Bad Request');
    return;
  }
  let name;
  try {
    name = decodeURIComponent(request.url.split(/[?#]/, 1)[0]);
  } catch {
    refuse(response, 400, 'Bad Request');
    return;
  }
  if (name.includes('\0') || name.includes('\\')) {
    refuse(response, 400, 'Bad Request');
    return;
  }
  if (name.split('/').includes('..')) {
    refuse(response, 403, 'Forbidden');
    return;
  }
  let file = path.join(root, name);
  let stats;
  try {
    file = await fs.promises.realpath(file);
    if (!inside(root, file)) {
      refuse(response, 403, 'Forbidden');
      return;
    }
    stats = await fs.promises.stat(file);
    if (stats.isDirectory()) {
      if (!name.endsWith('/')) {
        // A relative address, so the site works under any path it is served from.
        send(response, 301, { Location: `${path.posix.basename(name)}/` }, '');
        return;
      }
      file = path.join(file, 'index.html');
      stats = await fs.promises.stat(file);
    }
  } catch {
    refuse(response, 404, 'Not Found');
    return;
  }
  if (!stats.isFile()) {
    refuse(response, 404, 'Not Found');
    return;
  }
  // Read whole, so that the tag is always that of the bytes sent.
  const body = await fs.promises.readFile(file);
  const tag = entityTag(body);
  if (names(request.headers['if-none-match'], tag)) {
    send(response, 304, { ETag: tag }, '');
    return;
  }
  const type = mimeTypes[path.extname(file).toLowerCase()] ?? 'application/octet-stream';
  const headers = { 'Content-Type': type, 'Content-Length': body.length, 'X-Content-Type-Options': 'nosniff', ETag: tag };
  send(response, 200, headers, request.method === 'HEAD' ? '' : body);
}

// An http.Server for the folder; it is not yet listening.
export function createSiteServer(folder) {
  const root = fs.realpathSync(folder);
  if (!fs.statSync(root).isDirectory()) throw new Error(`${folder} is not a folder`);
  return http.createServer((request, response) => {
    handle(root, request, response).catch(() => {
      if (!response.headersSent) refuse(response, 500, 'Internal Server Error');
      else response.destroy();
    });
  });
}

// Serves the folder on 127.0.0.1 at the port (0: any free one); resolves to its address and a close.
export async function serveFolder(folder, port = 0) {
  const server = createSiteServer(folder);
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', resolve);
  });
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((resolve) => {
      server.closeAllConnections();
      server.close(() => resolve());
    }),
  };
}

async function main(args) {
  let folder = 'build/web/site';
  let port = 8000;
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--port' && i + 1 < args.length) port = Number(args[++i]);
    else if (!args[i].startsWith('-')) folder = args[i];
    else throw new Error(`usage: serve_web.mjs [FOLDER] [--port N]`);
  }
  if (!fs.existsSync(folder)) throw new Error(`No ${folder} to serve: build the web preset first.`);
  const { url } = await serveFolder(folder, port);
  console.log(`Serving ${folder} on ${url} (Ctrl+C stops)`);
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url)) {
  main(process.argv.slice(2)).catch((error) => {
    console.error(`serve_web: ${error.message}`);
    process.exit(1);
  });
}
