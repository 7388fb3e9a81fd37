// The browser tests' packages come from npm's own registry, each pinned by its lock file.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';

const read = (name) => JSON.parse(fs.readFileSync(new URL(name, import.meta.url), 'utf8'));

test('every locked package is fetched from registry.npmjs.org and checked by its hash', () => {
  const lock = read('./package-lock.json');
  const packages = Object.entries(lock.packages).filter(([name]) => name !== '');
  assert.ok(packages.length > 0);
  for (const [name, entry] of packages) {
    assert.match(entry.resolved ?? '', /^https:\/\/registry\.npmjs\.org\//, name);
    assert.match(entry.integrity ?? '', /^sha512-/, name);
  }
});

test('puppeteer-core is pinned to one version, the one locked', () => {
  const wanted = read('./package.json').devDependencies['puppeteer-core'];
  assert.match(wanted, /^25\.\d+\.\d+$/);
  assert.equal(read('./package-lock.json').packages['node_modules/puppeteer-core'].version, wanted);
});
