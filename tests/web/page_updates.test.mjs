// What the page writes as the program runs: each value's caption after each entry, the widest
// values fitted into their boxes, and the address and the verdict's description brought up to date
// once typing has paused, on a clock the test moves itself.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { collectProblems, launchChromium, serveFolder, siteFolder } from './harness.mjs';

let site;
let browser;

before(async () => {
  site = await serveFolder(siteFolder);
  browser = await launchChromium({ width: 800, height: 600 });
});

after(async () => {
  await browser?.close();
  await site?.close();
});

const kValues = ['lblPer1b', 'lblPer2b', 'lblWAvgb', 'lblActDiffb', 'lblDiffNeedb'];

async function openWindow(prepare) {
  const page = await browser.newPage();
  const problems = collectProblems(page);
  if (prepare) await page.evaluateOnNewDocument(prepare);
  await page.goto(site.url);
  await page.waitForFunction(() => !document.getElementById('frmStart').inert);
  return { page, problems };
}

// Enters texts as typing does: each box's text, then its input event; a level is clicked.
function enter(entries, level) {
  for (const [id, text] of Object.entries(entries)) {
    const box = document.getElementById(id);
    if (box.value === text) continue;
    box.value = text;
    box.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text }));
  }
  if (level) document.getElementById(level).click();
}

function shownValues(ids) {
  return ids.map((id) => {
    const value = document.getElementById(id);
    return { text: value.textContent, nodes: value.childNodes.length };
  });
}

test('each value shows the caption the calculation writes, entry after entry', async () => {
  const { page, problems } = await openWindow();
  const boxes = ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2'];
  // base 1, results 1, base 2, results 2, level: the five values.
  const cases = [
    [['200', '50', '300', '120'], 'opt95', ['25.00%', '40.00%', '34.00%', '15.00%', '08.48%']],
    [['100', '10', '100', '20'], 'opt80', ['10.00%', '20.00%', '15.00%', '10.00%', '06.46%']],
    [['100', '10', '100', '20'], 'opt99', ['10.00%', '20.00%', '15.00%', '10.00%', '11.77%']],
    [['1', '1', '1', '1'], 'opt95', ['100.00%', '100.00%', '100.00%', '00.00%', '00.00%']],
    [['1', '0', '2', '1'], 'opt95', ['00.00%', '50.00%', '33.33%', '50.00%', '113.16%']],
    [['1000', '523', '1000', '480'], 'opt90', ['52.30%', '48.00%', '50.15%', '04.30%', '03.67%']],
    [['200', '50', '300', '120'], 'opt95', ['25.00%', '40.00%', '34.00%', '15.00%', '08.48%']],
  ];
  for (const [texts, level, expected] of cases) {
    await page.evaluate(enter, Object.fromEntries(boxes.map((id, i) => [id, texts[i]])), level);
    const shown = await page.evaluate(shownValues, kValues);
    assert.deepEqual(
      shown.map((v) => v.text),
      expected,
      `${texts.join(' ')} at ${level}`,
    );
    for (const [i, v] of shown.entries()) assert.equal(v.nodes, 1, `${kValues[i]} holds ${v.nodes} nodes`);
  }
  assert.deepEqual(problems, []);
  await page.close();
});

test('on a wide screen the widest values fit their boxes, drawn closer by at most a tenth of their size', async () => {
  const { page, problems } = await openWindow();
  await page.evaluate(enter, { txtBase1: '1', txtResp1: '1', txtBase2: '1', txtResp2: '1' });
  const fitted = () =>
    [...document.querySelectorAll('[data-widest]')].map((value) => {
      const style = getComputedStyle(value);
      const spacing = style.letterSpacing === 'normal' ? 0 : parseFloat(style.letterSpacing);
      value.textContent = value.dataset.widest;
      return { id: value.id, fits: value.scrollWidth <= value.clientWidth, spacing, size: parseFloat(style.fontSize) };
    });
  const wide = await page.evaluate(fitted);
  assert.equal(wide.length, 5);
  for (const v of wide) {
    assert.ok(v.fits, `${v.id} does not show its widest value whole (spacing ${v.spacing}px)`);
    assert.ok(v.spacing <= 0 && v.spacing >= -v.size / 10, `${v.id} spacing ${v.spacing}px at ${v.size}px`);
  }
  // The phone's column has room: the letters keep their spacing there.
  await page.setViewport({ width: 400, height: 800 });
  await page.waitForFunction(() => [...document.querySelectorAll('[data-widest]')].every((v) => v.style.letterSpacing === ''));
  await page.setViewport({ width: 800, height: 600 });
  await page.waitForFunction(() => [...document.querySelectorAll('[data-widest]')].some((v) => v.style.letterSpacing !== ''));
  assert.deepEqual(problems, []);
  await page.close();
});

// Before the page's scripts: timers and performance.now() on a clock that only advanceClock moves.
function manualClock() {
  const started = performance.now();
  const timers = new Map();
  let now = 0;
  let next = 1;
  performance.now = () => started + now;
  self.setTimeout = (callback, delay = 0, ...args) => {
    timers.set(next, { at: now + Math.max(0, Number(delay) || 0), callback, args });
    return next++;
  };
  self.clearTimeout = (id) => timers.delete(id);
  self.advanceClock = (ms) => {
    const end = now + ms;
    for (;;) {
      let due = null;
      for (const [id, timer] of timers) if (timer.at <= end && (due === null || timer.at < due[1].at)) due = [id, timer];
      if (due === null) break;
      timers.delete(due[0]);
      now = Math.max(now, due[1].at);
      due[1].callback(...due[1].args);
    }
    now = end;
  };
}

test('the address and the verdict description follow the entries once typing has paused for 300 ms', async () => {
  const { page, problems } = await openWindow(manualClock);
  const state = () => ({ hash: location.hash, description: document.getElementById('txtSigDiff-description').textContent });
  await page.evaluate(enter, { txtBase1: '200', txtResp1: '50', txtBase2: '300', txtResp2: '120' });
  await page.evaluate(() => self.advanceClock(299));
  assert.deepEqual(await page.evaluate(state), { hash: '', description: '' });
  await page.evaluate(() => self.advanceClock(1));
  const typical = await page.evaluate(state);
  assert.equal(typical.hash, '#b1=200&r1=50&b2=300&r2=120&level=95');
  assert.match(typical.description, /^z = −3\.47, two-sided p = 0\.00052\. 95% confidence interval/);

  // Keys 200 ms apart keep it waiting: 300 ms after the first one is not 300 ms after the last.
  await page.evaluate(enter, { txtResp2: '12' });
  await page.evaluate(() => self.advanceClock(200));
  await page.evaluate(enter, { txtResp2: '1' });
  await page.evaluate(() => self.advanceClock(200));
  assert.equal((await page.evaluate(state)).hash, typical.hash);
  await page.evaluate(() => self.advanceClock(99));
  assert.equal((await page.evaluate(state)).hash, typical.hash);
  await page.evaluate(() => self.advanceClock(1));
  const later = await page.evaluate(state);
  assert.equal(later.hash, '#b1=200&r1=50&b2=300&r2=1&level=95');
  assert.notEqual(later.description, typical.description);
  assert.deepEqual(problems, []);
  await page.close();
});
