#!/usr/bin/env node
// Photographs the web page in Chromium, driven with real keystrokes through the typical run: on a
// desktop, light and dark, and on a phone (375 x 667, twice the density). Writes
// docs/screenshot-web*.png.
//
//   node tools/screenshot_web.mjs [SITE]      (default: build/web/site)
//
// Needs Debian's chromium and puppeteer-core from tests/web (npm ci --prefix tests/web).

import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { launchChromium, serveFolder } from '../tests/web/harness.mjs';

const root = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
const site = process.argv[2] ?? path.join(root, 'build', 'web', 'site');
const docs = path.join(root, 'docs');

const kTypicalRun = [
  ['txtBase1', '200'],
  ['txtResp1', '50'],
  ['txtBase2', '300'],
  ['txtResp2', '120'],
];

async function photograph(browser, url, { file, width, height, scale = 1, scheme = 'light', mobile = false }) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: scale, isMobile: mobile, hasTouch: mobile });
  await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
  await page.goto(url, { waitUntil: 'networkidle0' });
  await page.waitForFunction(() => !document.getElementById('frmStart').inert);
  for (const [box, keys] of kTypicalRun) {
    await page.focus(`#${box}`);
    await page.keyboard.type(keys);
  }
  // The caret blinks: leave the focus where nothing blinks.
  await page.evaluate(() => document.activeElement.blur());
  await page.screenshot({ path: path.join(docs, file), fullPage: mobile });
  await context.close();
  console.log(`wrote docs/${file}`);
}

const server = await serveFolder(site);
const browser = await launchChromium();
try {
  await photograph(browser, server.url, { file: 'screenshot-web.png', width: 760, height: 480 });
  await photograph(browser, server.url, { file: 'screenshot-web-dark.png', width: 760, height: 480, scheme: 'dark' });
  await photograph(browser, server.url, {
    file: 'screenshot-web-phone.png',
    width: 375,
    height: 667,
    scale: 2,
    mobile: true,
  });
} finally {
  await browser.close();
  await server.close();
}
