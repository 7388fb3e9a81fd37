// What the browser tests share: a folder served on a free localhost port, Debian's Chromium started
// headless with what this machine needs, and a page's problems (console errors, uncaught
// exceptions, failed requests) gathered for a test to check.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export { serveFolder } from '../../tools/serve_web.mjs';

let puppeteer;
try {
  ({ default: puppeteer } = await import('puppeteer-core'));
} catch (error) {
  throw new Error(
    'The browser tests need puppeteer-core: run `PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix tests/web` ' +
      `(tools/setup.sh test does). ${error.message}`,
  );
}

// The web build's site, unless the test is told another.
export const siteFolder = process.env.QUILLOMAT_SITE ?? fileURLToPath(new URL('../../build/web/site/', import.meta.url));

// Where a test leaves what a person may want to look at (screenshots).
export const artifactsFolder = process.env.QUILLOMAT_ARTIFACTS ?? os.tmpdir();

export const chromiumPath = process.env.QUILLOMAT_CHROMIUM ?? '/usr/bin/chromium';

// Chromium's own background connections (updates, sync, field trials) have nowhere to go here and
// are refused many at a time; the last four flags keep it from making them.
export const chromiumArgs = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

// Chromium on a new empty profile, removed when the browser ends.
export async function launchChromium({ width = 800, height = 600 } = {}) {
  if (!fs.existsSync(chromiumPath)) {
    throw new Error(`No Chromium at ${chromiumPath}: the browser tests need Debian's chromium package.`);
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-chromium-'));
  try {
    const browser = await puppeteer.launch({
      executablePath: chromiumPath,
      headless: true,
      pipe: true,
      userDataDir: profile,
      args: chromiumArgs,
      defaultViewport: { width, height },
    });
    browser.process()?.once('exit', () => fs.rmSync(profile, { recursive: true, force: true }));
    return browser;
  } catch (error) {
    fs.rmSync(profile, { recursive: true, force: true });
    throw error;
  }
}

// The page's problems from now on, as texts: console errors, uncaught exceptions, requests that
// failed or were answered with an error status.
export function collectProblems(page) {
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`uncaught: ${error.message}`));
  page.on('requestfailed', (request) =>
    problems.push(`request failed: ${request.url()} (${request.failure()?.errorText ?? 'no reason given'})`),
  );
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()}: ${response.url()}`);
  });
  return problems;
}
