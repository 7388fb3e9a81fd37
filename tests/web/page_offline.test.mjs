// Offline use: after one visit the service worker has cached the whole site, and with the network
// off and the server stopped the page still opens and calculates. A new build of the site (any file
// changed, and the service worker written again as the build writes it) brings a new cache, and the
// old one goes.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { serveFolder, siteFolder } from './harness.mjs';
import { kTypical, kTypicalResults, openQuillomat, startSite } from './quillomat_page.mjs';

const workerScript = fileURLToPath(new URL('../../web/write_worker.cmake', import.meta.url));
const workerTemplate = fileURLToPath(new URL('../../web/sw.js.in', import.meta.url));
const cmake = process.env.QUILLOMAT_CMAKE ?? 'cmake';

let folder; // a copy of the site, built again by the test
let env;
before(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-offline-'));
  fs.cpSync(siteFolder, folder, { recursive: true });
  env = await startSite(folder);
});
after(async () => {
  await env?.close();
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

// The cache name sw.js gives, from its version and its hash of the files.
function cacheSuffix() {
  const worker = fs.readFileSync(path.join(folder, 'sw.js'), 'utf8');
  const match = /const kCache = `\$\{kPrefix\}([^`]+)`;/.exec(worker);
  assert.ok(match, 'sw.js names its cache');
  return match[1];
}

// Changes a file of the site and writes the service worker again, as the build does.
function rebuildWith(file, extra) {
  fs.appendFileSync(path.join(folder, file), extra);
  const version = cacheSuffix().split(' ')[0];
  const run = spawnSync(
    cmake,
    [`-DSITE_DIR=${folder}`, `-DTEMPLATE=${workerTemplate}`, `-DQUILLOMAT_VERSION_TEXT=${version}`, '-P', workerScript],
    { encoding: 'utf8' },
  );
  assert.equal(run.status, 0, run.stderr);
}

// Once the page is controlled and the site has one cache, not `previous`, holding `files` entries:
// its name.
async function filledCache(page, files, previous = null) {
  const handle = await page
    .waitForFunction(
      async (count, old) => {
        if (navigator.serviceWorker.controller === null) return false;
        const names = (await caches.keys()).filter((name) => name.startsWith('quillomat '));
        if (names.length !== 1 || names[0] === old) return false;
        const cache = await caches.open(names[0]);
        return (await cache.keys()).length === count ? names[0] : false;
      },
      { timeout: 15000, polling: 100 },
      files,
      previous,
    )
    .catch(async (error) => assert.fail(`${error.message}; caches: ${await page.evaluate(() => caches.keys())}`));
  return handle.jsonValue();
}

// The site's files and its own address, as the worker caches them.
const siteFiles = () => fs.readdirSync(folder).filter((name) => name !== 'sw.js').length + 1;

test('after one visit the page opens and calculates offline; a new build replaces the cache', async () => {
  const context = await env.browser.createBrowserContext();
  const q = await openQuillomat(env, { context });
  const first = await filledCache(q.page, siteFiles());
  assert.ok(first.endsWith(cacheSuffix()), `${first} is the cache sw.js names`);

  await q.page.setOfflineMode(true);
  await env.site.close();
  const response = await q.page.reload({ waitUntil: 'load' });
  assert.ok(response.fromServiceWorker(), 'the page comes from the cache');
  await q.ready();
  await q.enter(kTypical);
  assert.deepEqual(await q.results(), kTypicalResults);
  await q.shot('page-offline');

  await q.page.setOfflineMode(false);
  env.site = await serveFolder(folder, new URL(env.site.url).port);
  let previous = first;
  for (const [file, extra] of [
    ['quillomat.css', '\n/* built again */\n'],
    ['icon-16.png', Buffer.from([0])],
  ]) {
    rebuildWith(file, extra);
    await q.page.reload({ waitUntil: 'load' });
    const name = await filledCache(q.page, siteFiles(), previous);
    assert.notEqual(name, previous, `${file} changed`);
    assert.ok(name.endsWith(cacheSuffix()), `${name} is the cache sw.js names`);
    previous = name;
  }
  await q.ready();
  await q.enter(kTypical);
  assert.deepEqual(await q.results(), kTypicalResults);
  await q.close();
  await context.close();
});
