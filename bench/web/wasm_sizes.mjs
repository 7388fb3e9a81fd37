#!/usr/bin/env node
// What is big in a .wasm: its sections by size, and its functions by the size of their code, named
// when the module has a name section (link with --profiling-funcs for one).
//
//   node bench/web/wasm_sizes.mjs FILE.wasm [--top N]

import fs from 'node:fs';

const kSections = ['custom', 'type', 'import', 'function', 'table', 'memory', 'global', 'export', 'start', 'element',
  'code', 'data', 'data count', 'tag'];

function reader(bytes, at = 0) {
  return {
    get at() {
      return at;
    },
    set at(value) {
      at = value;
    },
    byte: () => bytes[at++],
    u32() {
      let result = 0;
      let shift = 0;
      for (;;) {
        const b = bytes[at++];
        result += (b & 0x7f) * 2 ** shift;
        if ((b & 0x80) === 0) return result;
        shift += 7;
      }
    },
    name() {
      const length = this.u32();
      const text = Buffer.from(bytes.subarray(at, at + length)).toString('utf8');
      at += length;
      return text;
    },
  };
}

export function wasmSizes(bytes) {
  const r = reader(bytes, 8);
  const sections = [];
  let importedFunctions = 0;
  const bodies = [];
  const names = new Map();
  while (r.at < bytes.length) {
    const id = r.byte();
    const size = r.u32();
    const start = r.at;
    const end = start + size;
    let label = kSections[id] ?? `section ${id}`;
    if (id === 0) {
      const name = r.name();
      label = `custom "${name}"`;
      if (name === 'name') {
        while (r.at < end) {
          const kind = r.byte();
          const length = r.u32();
          const next = r.at + length;
          if (kind === 1) {
            const count = r.u32();
            for (let i = 0; i < count; ++i) {
              const index = r.u32();
              names.set(index, r.name());
            }
          }
          r.at = next;
        }
      }
    } else if (id === 2) {
      const count = r.u32();
      for (let i = 0; i < count; ++i) {
        r.name();
        r.name();
        const kind = r.byte();
        if (kind === 0) {
          r.u32();
          ++importedFunctions;
        } else if (kind === 1) {
          r.byte();
          const flags = r.u32();
          r.u32();
          if (flags & 1) r.u32();
        } else if (kind === 2) {
          const flags = r.u32();
          r.u32();
          if (flags & 1) r.u32();
        } else if (kind === 3) {
          r.byte();
          r.byte();
        } else {
          r.byte();
          r.u32();
        }
      }
    } else if (id === 10) {
      const count = r.u32();
      for (let i = 0; i < count; ++i) {
        const bodySize = r.u32();
        bodies.push({ index: importedFunctions + i, size: bodySize });
        r.at += bodySize;
      }
    }
    sections.push({ label, size: end - start });
    r.at = end;
  }
  const functions = bodies.map((b) => ({ ...b, name: names.get(b.index) ?? `function ${b.index}` }));
  return { total: bytes.length, sections, functions };
}

function main(args) {
  const file = args[0];
  if (!file) throw new Error('usage: wasm_sizes.mjs FILE.wasm [--top N]');
  const topAt = args.indexOf('--top');
  const top = topAt >= 0 ? Number(args[topAt + 1]) : 40;
  const { total, sections, functions } = wasmSizes(fs.readFileSync(file));
  console.log(`${file}: ${total} bytes`);
  for (const s of sections) console.log(`  ${String(s.size).padStart(8)}  ${s.label}`);
  const code = functions.reduce((sum, f) => sum + f.size, 0);
  console.log(`${functions.length} functions, ${code} bytes of code; the largest:`);
  for (const f of [...functions].sort((a, b) => b.size - a.size).slice(0, top)) {
    console.log(`  ${String(f.size).padStart(8)}  ${(f.size / code * 100).toFixed(1).padStart(5)}%  ${f.name}`);
  }
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === new URL(import.meta.url).pathname) {
  try {
    main(process.argv.slice(2));
  } catch (error) {
    console.error(`wasm_sizes: ${error.message}`);
    process.exit(1);
  }
}
