#!/usr/bin/env node
// Where the time of a Chrome performance trace (bench.mjs --trace) went: the renderer's main-thread
// events by name (total time, count; nested events are counted within their parents too), and the
// JavaScript and WebAssembly functions by self time from the trace's CPU profile samples.
//
//   node bench/web/trace_summary.mjs TRACE.json [--top N]

import fs from 'node:fs';

export function summarize(trace, top = 25) {
  const events = Array.isArray(trace) ? trace : trace.traceEvents;
  // The renderer's main thread: the thread that ran the most 'FunctionCall' or 'Layout' events.
  const threads = new Map();
  for (const e of events) {
    if (e.ph === 'X' && (e.name === 'FunctionCall' || e.name === 'Layout' || e.name === 'EventDispatch')) {
      const key = `${e.pid}:${e.tid}`;
      threads.set(key, (threads.get(key) ?? 0) + 1);
    }
  }
  const main = [...threads].sort((a, b) => b[1] - a[1])[0]?.[0];
  const byName = new Map();
  for (const e of events) {
    if (e.ph !== 'X' || `${e.pid}:${e.tid}` !== main || typeof e.dur !== 'number') continue;
    const entry = byName.get(e.name) ?? { name: e.name, us: 0, count: 0 };
    entry.us += e.dur;
    entry.count += 1;
    byName.set(e.name, entry);
  }
  // The CPU profile: nodes and samples arrive in ProfileChunk events.
  const nodes = new Map();
  const self = new Map();
  let sampled = 0;
  for (const e of events) {
    if (e.name !== 'ProfileChunk') continue;
    const profile = e.args?.data?.cpuProfile ?? {};
    for (const node of profile.nodes ?? []) nodes.set(`${e.id}:${node.id}`, node.callFrame);
    const samples = profile.samples ?? [];
    const deltas = e.args?.data?.timeDeltas ?? [];
    for (let i = 0; i < samples.length; ++i) {
      const frame = nodes.get(`${e.id}:${samples[i]}`);
      const name = frame ? `${frame.functionName || '(anonymous)'} ${frame.url ? frame.url.replace(/^.*\//, '') : ''}`.trim() : '?';
      const dt = deltas[i + 1] ?? deltas[i] ?? 0;
      self.set(name, (self.get(name) ?? 0) + dt);
      sampled += dt;
    }
  }
  return {
    events: [...byName.values()].sort((a, b) => b.us - a.us).slice(0, top),
    functions: [...self].sort((a, b) => b[1] - a[1]).slice(0, top),
    sampled,
  };
}

function main(args) {
  const file = args[0];
  const topAt = args.indexOf('--top');
  const top = topAt >= 0 ? Number(args[topAt + 1]) : 25;
  if (!file) throw new Error('usage: trace_summary.mjs TRACE.json [--top N]');
  const { events, functions, sampled } = summarize(JSON.parse(fs.readFileSync(file, 'utf8')), top);
  console.log('main thread events (total ms, count):');
  for (const e of events) console.log(`  ${(e.us / 1000).toFixed(2).padStart(9)}  ${String(e.count).padStart(6)}  ${e.name}`);
  console.log(`functions by self time (ms of ${(sampled / 1000).toFixed(1)} ms sampled):`);
  for (const [name, us] of functions) console.log(`  ${(us / 1000).toFixed(2).padStart(9)}  ${name}`);
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === new URL(import.meta.url).pathname) {
  try {
    main(process.argv.slice(2));
  } catch (error) {
    console.error(`trace_summary: ${error.message}`);
    process.exit(1);
  }
}
