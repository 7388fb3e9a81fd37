// Quillomat's page as the browser tests drive it: the site served and one Chromium per test file,
// each page in a browser context of its own (no service worker or clipboard shared between tests),
// real keys and clicks, and the window's state read back as the desktop tests read theirs.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { artifactsFolder, collectProblems, launchChromium, serveFolder, siteFolder } from './harness.mjs';

export const kYes = '  SIGNIFICANTLY DIFFERENT  ';
export const kNo = '  NOT significantly different  ';
export const kBoxes = ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2'];
export const kTypical = ['200', '50', '300', '120'];
export const kTypicalResults = ['25.00%', '40.00%', '34.00%', '15.00%', '08.48%', kYes];
const kClears = ['cmdClear1', 'cmdClear2', 'cmdClearAll'];
// The result area and the warning, in the order the desktop tests list them.
const kShown = ['lblPer1b', 'lblPer2b', 'lblWAvgb', 'lblActDiffb', 'lblDiffNeedb', 'txtSigDiff', 'txtWarnSign'];
const kResults = ['lblPer1b', 'lblPer2b', 'lblWAvgb', 'lblActDiffb', 'lblDiffNeedb'];

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The site on a free port and a browser; close() ends both, the site as it then stands (a test may
// stop its server and serve it again).
export async function startSite(folder = siteFolder) {
  const site = await serveFolder(folder);
  const env = {
    site,
    browser: await launchChromium(),
    origin: new URL(site.url).origin,
    async close() {
      await env.browser.close();
      await env.site.close();
    },
  };
  return env;
}

// Reports what a page does against the rules the site keeps: nothing from another origin, no
// Content Security Policy violation (reported as console errors, which collectProblems gathers).
function watchPage(page, origin, problems) {
  page.on('request', (request) => {
    const url = new URL(request.url());
    if (url.protocol !== 'data:' && url.origin !== origin) problems.push(`request to another origin: ${url.href}`);
  });
  return page.evaluateOnNewDocument(() => {
    addEventListener('securitypolicyviolation', (event) =>
      console.error(`Content Security Policy violation: ${event.violatedDirective} ${event.blockedURI}`),
    );
  });
}

// Opens the page (with `hash`, an address fragment) in a new browser context, or in `context`, and
// waits until the program is ready unless told not to.
export async function openQuillomat(
  env,
  { hash = '', viewport = { width: 800, height: 600 }, colorScheme, context, ready = true, beforeOpening } = {},
) {
  const ownContext = context === undefined;
  const browserContext = context ?? (await env.browser.createBrowserContext());
  const page = await browserContext.newPage();
  const problems = collectProblems(page);
  await watchPage(page, env.origin, problems);
  await page.setViewport(viewport);
  if (colorScheme) await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: colorScheme }]);
  await beforeOpening?.(page);
  const q = new Quillomat(page, problems, ownContext ? browserContext : null);
  await page.goto(new URL(hash, env.site.url).href, { waitUntil: ready ? 'load' : 'domcontentloaded' });
  if (ready) await q.ready();
  return q;
}

export class Quillomat {
  constructor(page, problems, ownContext) {
    this.page = page;
    this.problems = problems;
    this.ownContext = ownContext;
  }

  async ready() {
    await this.page
      .waitForFunction(() => !document.getElementById('frmStart').inert, { timeout: 10000 })
      .catch((error) => assert.fail(`${error.message}; the page's problems: ${this.problems.join('; ') || 'none'}`));
  }

  // The page had no problem; then it is closed.
  async close() {
    assert.deepEqual(this.problems, [], 'the page reported problems');
    if (this.ownContext) await this.ownContext.close();
    else await this.page.close();
  }

  async shot(name, options = {}) {
    await this.page.screenshot({ path: path.join(artifactsFolder, `${name}.png`), ...options });
  }

  // Keys into a box, after the text it holds, as a user clicking into it and typing.
  async type(id, text) {
    await this.page.click(`#${id}`);
    await this.page.keyboard.press('End');
    await this.page.keyboard.type(text);
  }

  async enter(texts) {
    for (let i = 0; i < kBoxes.length; ++i) if (texts[i] !== '') await this.type(kBoxes[i], texts[i]);
  }

  async backspace(id) {
    await this.page.click(`#${id}`);
    await this.page.keyboard.press('End');
    await this.page.keyboard.press('Backspace');
  }

  async selectAllAndDelete(id) {
    await this.page.click(`#${id}`);
    await this.chord('Control', 'KeyA');
    await this.page.keyboard.press('Delete');
  }

  async click(id) {
    await this.page.click(`#${id}`);
  }

  async chord(modifier, key, text) {
    await this.page.keyboard.down(modifier);
    await this.page.keyboard.down(key, text === undefined ? undefined : { text });
    await this.page.keyboard.up(key);
    await this.page.keyboard.up(modifier);
  }

  // Alt with a letter, as a keyboard that would type the letter sends it: with the letter as its
  // text, so that a key the page lets through would type it into the focused box.
  async altKey(letter) {
    await this.chord('Alt', `Key${letter.toUpperCase()}`, letter.toLowerCase());
  }

  // "101": which of Clear One, Clear Two and Clear All are enabled.
  enabled() {
    return this.page.evaluate(
      (ids) => ids.map((id) => (document.getElementById(id).disabled ? '0' : '1')).join(''),
      kClears,
    );
  }

  // "1111110": which of the value labels, the verdict and the warning show.
  visible() {
    return this.page.evaluate(
      (ids) =>
        ids
          .map((id) => {
            const box = document.getElementById(id).closest('[data-control]');
            return getComputedStyle(box).visibility === 'visible' ? '1' : '0';
          })
          .join(''),
      kShown,
    );
  }

  // The five value captions and the verdict's text.
  results() {
    return this.page.evaluate(
      (ids) => [
        ...ids.map((id) => document.getElementById(id).textContent),
        document.getElementById('txtSigDiff').value,
      ],
      kResults,
    );
  }

  texts() {
    return this.page.evaluate((ids) => ids.map((id) => document.getElementById(id).value), kBoxes);
  }

  value(id) {
    return this.page.$eval(`#${id}`, (element) => element.value);
  }

  checkedLevel() {
    return this.page.evaluate(() => document.querySelector('input[name="level"]:checked')?.id ?? null);
  }

  focused() {
    return this.page.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);
  }

  // The message box as a user sees it.
  message() {
    return this.page.evaluate(() => {
      const dialog = document.getElementById('messageBox');
      return {
        open: dialog.open,
        text: document.getElementById('messageText').textContent,
        error: dialog.classList.contains('error'),
        buttons: [...dialog.querySelectorAll('button')].map((button) => button.textContent),
        focused: document.activeElement?.id,
      };
    });
  }

  // Everything the user can see of the window's state, for checking that something changed nothing.
  async state() {
    return {
      texts: await this.texts(),
      results: await this.results(),
      visible: await this.visible(),
      enabled: await this.enabled(),
      level: await this.checkedLevel(),
    };
  }
}

// --- The window table -------------------------------------------------------------------------

const tableSource = fileURLToPath(new URL('../../window/window_table.cpp', import.meta.url));

// Each control's kind and rectangle in pixels (twips / 15) as window/window_table.cpp gives them,
// and the window's client size.
export function windowTable() {
  const source = fs.readFileSync(tableSource, 'utf8');
  const pixels = (twips) => Number(twips) / 15;
  const controls = new Map();
  const row = /\{C::(\w+),\s*K::(\w+),\s*u"[^"]*",\s*\{([^}]*)\}.*\{([^}]*)\}(?:, \w+)?\},?\s*$/gm;
  for (const [, name, kind, box, line] of source.matchAll(row)) {
    let rect;
    if (kind === 'Line') {
      const [x1, y1, x2] = line.split(',').map(pixels);
      rect = { left: x1, top: y1, width: x2 - x1, height: 1 };
    } else {
      const [left, top, width, height] = box.split(',').map(pixels);
      rect = { left, top, width, height };
    }
    controls.set(name, { kind, rect });
  }
  const size = (field) => pixels(new RegExp(`\\.${field} = (\\d+)`).exec(source)[1]);
  return { width: size('clientWidthTwips'), height: size('clientHeightTwips'), controls };
}
