// What the page adds around the window: the address that shares a comparison, both ways; what a
// screen reader finds; Copy Results; the tooltips, by pointer and by touch; and the window before
// the program is ready.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { kBoxes, kTypical, kTypicalResults, openQuillomat, sleep, startSite } from './quillomat_page.mjs';

let env;
before(async () => {
  env = await startSite();
});
after(async () => {
  await env?.close();
});

const open = (options) => openQuillomat(env, options);

const kKeys = ['b1', 'r1', 'b2', 'r2'];

// The address's fragment as its parameters, once they are `expected`, or as they stand after `ms`.
async function sharedAfter(q, expected, ms = 1000) {
  const holds = (wanted) => {
    const params = new URLSearchParams(location.hash.slice(1));
    const keys = Object.keys(wanted);
    return [...params.keys()].length === keys.length && keys.every((key) => params.getAll(key).join() === wanted[key]);
  };
  await q.page.waitForFunction(holds, { timeout: ms }, expected).catch(() => {});
  return Object.fromEntries(new URLSearchParams(await q.page.evaluate(() => location.hash.slice(1))));
}

test('within a second of typing and a level the address holds the entries and level, history unchanged', async () => {
  const q = await open();
  const entries = await q.page.evaluate(() => history.length);
  await q.enter(kTypical);
  await q.click('opt80');
  const expected = { b1: '200', r1: '50', b2: '300', r2: '120', level: '80' };
  assert.deepEqual(await sharedAfter(q, expected), expected);
  await q.backspace('txtResp2');
  const shorter = { ...expected, r2: '12' };
  assert.deepEqual(await sharedAfter(q, shorter), shorter);
  assert.equal(await q.page.evaluate(() => history.length), entries);
  await q.close();
});

test('an address opens the comparison it holds, texts exactly as typed', async () => {
  const cases = [
    [[' 200', '50 ', '300 ', ' 120'], 'opt99'],
    [['+200', '50', '300', '12&0'], 'opt90'],
    [['200', '#50', '300', '12%0'], 'opt95'],
    [['200', 'é', '300', '中'], 'opt80'],
    [['200', '50😀', '300', '1 2 0 😀'], 'opt95'],
  ];
  for (const [texts, level] of cases) {
    const typed = await open();
    await typed.enter(texts);
    await typed.click(level);
    const expected = Object.fromEntries([...kKeys.map((key, i) => [key, texts[i]]), ['level', level.slice(3)]]);
    assert.deepEqual(await sharedAfter(typed, expected), expected, `${texts}`);
    const hash = await typed.page.evaluate(() => location.hash);
    const shown = await typed.state();
    assert.equal(shown.visible, '1111110', `${texts}: results shown`);
    await typed.close();

    const opened = await open({ hash });
    assert.deepEqual(await opened.state(), shown, `${texts} from ${hash}`);
    assert.equal((await opened.message()).open, false);
    await opened.close();
  }
});

test('an address whose fragment is not a comparison opens the page as usual', async () => {
  const fragments = [
    '#hello',
    '#b1=200&r1=50&b2=300&r2=120',
    '#b1=200&r1=50&b2=300&r2=120&level=97',
    '#b1=200&b1=2&r1=50&b2=300&r2=120&level=80',
    '#b1=200&r1=50&b2=300&r2=120&level=80&x=1',
    '#r1=50&b2=300&r2=120&level=80&x=200',
    '#b1=%E0%A4%A&r1=50&b2=300&r2=120',
  ];
  for (const hash of fragments) {
    const q = await open({ hash });
    assert.deepEqual(
      await q.state(),
      {
        texts: ['', '', '', ''],
        results: ['', '', '', '', '', ''],
        visible: '1111100',
        enabled: '000',
        level: 'opt95',
      },
      hash,
    );
    assert.equal(await q.focused(), 'txtBase1', hash);
    await q.close();
  }
});

// Every node of the page's accessibility tree, as Chromium gives it to screen readers, or of one
// node's subtree.
const nodesOf = (node) => [node, ...(node.children ?? []).flatMap(nodesOf)];
const accessibilityTree = async (page) => nodesOf(await page.accessibility.snapshot({ interestingOnly: false }));
const textOf = (node) => nodesOf(node).filter((n) => n.role === 'StaticText').map((n) => n.name).join('');

test('a screen reader finds the boxes, values with captions, one group of levels, the verdict explained', async () => {
  const q = await open();
  await q.enter(kTypical);
  const described = (start) =>
    q.page.waitForFunction(
      (text) => document.getElementById('txtSigDiff-description').textContent.startsWith(text),
      { timeout: 2000 },
      start,
    );
  await described('z = ');
  let tree = await accessibilityTree(q.page);
  const withRole = (role) => tree.filter((node) => node.role === role);

  assert.deepEqual(
    withRole('textbox').map((node) => [node.name, node.value]),
    [
      ['Player 1 base', '200'],
      ['Player 1 results', '50'],
      ['Player 2 base', '300'],
      ['Player 2 results', '120'],
      ['Verdict', kTypicalResults[5]],
    ],
  );
  assert.match(withRole('textbox')[4].description, /^z = −3\.47, two-sided p = 0\.00052\. 95% confidence interval/);
  assert.deepEqual(
    withRole('status').map((node) => [node.name, node.description, textOf(node)]),
    [
      ['Player One %', 'Player 1 percentage', '25.00%'],
      ['Player Two %', 'Player 2 percentage', '40.00%'],
      ['Difference', 'Difference', '15.00%'],
      ['Difference Needed', 'Difference needed', '08.48%'],
      ['Weighted Average', 'Weighted average', '34.00%'],
    ],
  );
  const groups = withRole('radiogroup').map((group) => [
    group.name,
    nodesOf(group)
      .filter((node) => node.role === 'radio')
      .map((node) => `${node.name} ${node.checked}`),
  ]);
  assert.deepEqual(groups, [['CHOOSE Significance Level', ['80% false', '90% false', '95% true', '99% false']]]);
  assert.equal(withRole('radio').length, 4);

  // Kept up to date once typing pauses; the warning has its name.
  await q.click('opt80');
  await described('z = −3.47, two-sided p = 0.00052. 80% confidence interval');
  await q.type('txtResp2', '0');
  await described("These are the previous entries' results");
  tree = await accessibilityTree(q.page);
  const verdict = withRole('textbox').find((node) => node.name === 'Verdict');
  assert.match(verdict.description, /^These are the previous entries' results: .* 80% confidence interval/);
  const warning = withRole('textbox').find((node) => node.name === 'Warning');
  assert.equal(warning?.value, 'Base has to be higher than Results');
  await q.close();
});

const kTypicalCopy =
  'Player 1 base\t200\nPlayer 1 results\t50\nPlayer 2 base\t300\nPlayer 2 results\t120\nPlayer 1 %\t25.00%\n' +
  'Player 2 %\t40.00%\nWeighted average\t34.00%\nDifference\t15.00%\nDifference needed\t08.48%\n' +
  'Significance level\t95%\nCritical value\t1.96\nVerdict\tSIGNIFICANTLY DIFFERENT\nz\t-3.47\n' +
  'p (two-sided)\t0.00052\nInterval low\t-22.87%\nInterval high\t-6.61%\nSmallest expected count\t68.0\n' +
  'Exact p (Fisher)\t0.00052\nPlayer 1 base needed\t64\nPlayer 2 base needed\t96\n';

test('Ctrl+C copies the results while they are current, and a box its selected text', async () => {
  const context = await env.browser.createBrowserContext();
  await context.overridePermissions(env.site.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const q = await open({ context });
  const copy = async () => {
    await q.page.evaluate(() => navigator.clipboard.writeText('before'));
    await q.chord('Control', 'KeyC');
    return q.page.evaluate(() => navigator.clipboard.readText());
  };

  await q.click('txtBase1');
  assert.equal(await copy(), 'before', 'nothing typed');
  await q.enter(['200', '50', '300', '']);
  assert.equal(await copy(), 'before', 'a box empty');
  await q.type('txtResp2', '120');
  assert.equal(await copy(), kTypicalCopy, 'the typical run');
  const html = await q.page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    return item.types.includes('text/html') ? (await item.getType('text/html')).text() : null;
  });
  assert.ok(html?.includes('<tr><td>Player 1 base</td><td>200</td></tr>'), html);
  assert.ok(html.includes('<tr><td>Verdict</td><td>SIGNIFICANTLY DIFFERENT</td></tr>'), html);
  await q.click('opt95');
  assert.equal(await q.focused(), 'opt95');
  assert.equal(await copy(), kTypicalCopy, 'from the level');

  await q.type('txtResp2', '0');
  assert.equal(await q.visible(), '1111111');
  assert.equal(await copy(), 'before', 'the warning shown');
  await q.backspace('txtResp2');
  await q.click('txtBase2');
  await q.chord('Control', 'KeyA');
  assert.equal(await copy(), '300', 'a selection');
  await q.page.keyboard.press('End');
  assert.equal(await copy(), kTypicalCopy, 'no selection');
  await q.close();
  await context.close();
});

const kTips = [
  ['lblPer1', "Player 1's results divided by Player 1's base: hits per at-bat, earned runs per inning."],
  ['lblPer2b', "Player 2's results divided by Player 2's base: hits per at-bat, earned runs per inning."],
  [
    'lblDiffNeed',
    'How far apart the rates must be, with these bases, for the verdict to call them significantly different at ' +
      'the chosen level.\nLarger bases need a smaller difference.',
  ],
  [
    'opt99',
    '99%: the difference must be at least 2.33 standard errors.\nThat is the one-sided 99% value, the same as the ' +
      'two-sided 98% value; a two-sided 99% test would need 2.58.',
  ],
];

const toolTip = (q) =>
  q.page.evaluate(() => {
    const tip = document.getElementById('toolTip');
    return tip.checkVisibility() ? tip.textContent : null;
  });

async function toolTipAfterRest(q) {
  await q.page
    .waitForFunction(() => document.getElementById('toolTip').checkVisibility(), { timeout: 2000 })
    .catch(() => {});
  return toolTip(q);
}

test('hovering a caption, a value, a level and the verdict shows its tooltip, one sentence a line', async () => {
  const q = await open();
  await q.enter(kTypical);
  for (const [id, text] of kTips) {
    await q.page.hover(`[data-control="${id}"]`);
    assert.equal(await toolTipAfterRest(q), text, id);
  }
  await q.page.hover('#lblTitle');
  await sleep(700);
  assert.equal(await toolTip(q), null, 'no tooltip for the title');

  await q.page.hover('[data-control="txtSigDiff"]');
  const explanation = await toolTipAfterRest(q);
  assert.match(explanation, /^z = −3\.47, two-sided p = 0\.00052\.\n95% confidence interval/);
  const description = await q.page.$eval('#txtSigDiff-description', (element) => element.textContent);
  assert.equal(explanation.replaceAll('\n', ' '), description);
  await q.shot('page-tooltip');
  await q.close();
});

test('a tap on the verdict shows its explanation, and another tap hides it', async () => {
  const q = await open({ viewport: { width: 800, height: 600, hasTouch: true } });
  await q.enter(kTypical);
  const box = await q.page.$eval('[data-control="txtSigDiff"]', (element) => {
    const { x, y, width, height } = element.getBoundingClientRect();
    return { x: x + width / 2, y: y + height / 2 };
  });
  await q.page.touchscreen.tap(box.x, box.y);
  assert.match((await toolTip(q)) ?? '', /^z = −3\.47, two-sided p = 0\.00052\.\n/);
  await q.page.touchscreen.tap(box.x, box.y);
  assert.equal(await toolTip(q), null);
  await q.close();
});

test('before the program is ready the window is drawn but takes nothing, and afterwards works as usual', async () => {
  const held = [];
  const q = await open({
    ready: false,
    beforeOpening: async (page) => {
      await page.setRequestInterception(true);
      page.on('request', (request) => {
        if (new URL(request.url()).pathname.endsWith('.wasm')) held.push(request);
        else request.continue();
      });
    },
  });
  await q.page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length > 0, {
    timeout: 5000,
  });
  assert.ok(held.length > 0, 'the program is on its way');
  const drawn = await q.page.evaluate(() => {
    const window = document.getElementById('frmStart');
    const { width, height } = window.getBoundingClientRect();
    return { inert: window.inert, width, height, title: document.getElementById('lblTitle').checkVisibility() };
  });
  assert.deepEqual(drawn, { inert: true, width: 638, height: 399, title: true });
  await q.shot('page-before-ready');

  await q.click('txtBase1');
  await q.page.keyboard.type('123');
  await q.page.keyboard.press('Tab');
  await q.page.keyboard.type('45');
  await q.altKey('x');
  assert.deepEqual(await q.texts(), ['', '', '', '']);
  assert.ok(!kBoxes.includes(await q.focused()));

  for (const request of held) await request.continue();
  await q.ready();
  assert.deepEqual(await q.texts(), ['', '', '', '']);
  assert.equal(await q.focused(), 'txtBase1');
  await q.page.keyboard.type('200');
  await q.enter(['', ...kTypical.slice(1)]);
  assert.deepEqual(await q.results(), kTypicalResults);
  await q.close();
});
