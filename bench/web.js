// Benchmarks the web edition against a floor page (plain HTML with the same start-screen buttons)
// in headless Chromium, side by side in one run; see bench/README.md. Writes the web section of
// bench/RESULTS.md and exits non-zero when a target is missed. Not part of the tests.
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { pathToFileURL } = require('node:url');
const t = require('../tests/web/support');

const args = { runs: 5, startups: 50, presses: 100, idle: 5, out: null };
for (let i = 2; i < process.argv.length; i += 2) {
    const [k, v] = [process.argv[i].replace(/^--/, ''), process.argv[i + 1]];
    if (!(k in args)) throw new Error(`unknown option --${k} (known: ${Object.keys(args)})`);
    args[k] = k === 'out' ? v : Number(v);
}

// Installed before any script of either page: the time of each key 5, when the start screen is
// first painted (the work of the first frame after its "Vai" button exists is done), and the
// program's WebAssembly memory.
function marks() {
    let painted;
    window.__bench = { painted: null, memories: [], down: null };
    window.__bench.whenPainted = new Promise((r) => (painted = r));
    // First of all the page's key listeners, so that the time is taken before the program acts.
    addEventListener('keydown', (e) => e.code === 'Digit5' && (window.__bench.down = e.timeStamp), true);
    const seen = () =>
        [...document.querySelectorAll('button')].some((b) => b.textContent.trim() === 'Vai');
    const watch = new MutationObserver(() => {
        if (!seen()) return;
        watch.disconnect();
        // Taken as soon as that frame's own work is done: a task of the highest priority runs
        // before the tasks the page has queued meanwhile, which a plain message would wait behind.
        const mark = () => painted((window.__bench.painted = performance.now()));
        requestAnimationFrame(() => scheduler.postTask(mark, { priority: 'user-blocking' }));
    });
    watch.observe(document, { childList: true, subtree: true });
    const keep = (m) => m instanceof WebAssembly.Memory && window.__bench.memories.push(m);
    const Memory = WebAssembly.Memory;
    WebAssembly.Memory = function (...a) {
        const m = new Memory(...a);
        keep(m);
        return m;
    };
    WebAssembly.Memory.prototype = Memory.prototype;
    const exported = (r) => {
        const instance = r.instance || r;
        for (const v of Object.values((instance && instance.exports) || {})) keep(v);
        return r;
    };
    for (const f of ['instantiate', 'instantiateStreaming']) {
        const orig = WebAssembly[f];
        if (orig) WebAssembly[f] = (...a) => orig.apply(WebAssembly, a).then(exported);
    }
    const Instance = WebAssembly.Instance; // the page may instantiate synchronously too
    WebAssembly.Instance = function (...a) {
        return exported(new Instance(...a));
    };
    WebAssembly.Instance.prototype = Instance.prototype;
}

function floorPage(captions) {
    const buttons = captions.map((c) => `<button type="button">${c}</button>`).join('\n');
    return (
        '<!doctype html>\n<html lang="it">\n<meta charset="utf-8">\n' +
        '<title>Tavole della moltiplicazione</title>\n' +
        '<style>body{margin:0;background:#ffe0c0;font:bold 18pt sans-serif}' +
        'button{min-width:6em;min-height:3em;margin:.5em;font:inherit}</style>\n' +
        `<body>\n${buttons}\n</body>\n</html>\n`
    );
}

const gz = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length / 1024;
const median = (xs) => {
    const s = [...xs].sort((a, b) => a - b);
    const m = s.length >> 1;
    return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};
const quantile = (xs, q) => [...xs].sort((a, b) => a - b)[Math.min(xs.length - 1, Math.ceil(q * xs.length) - 1)];
const MiB = 1024 * 1024;

// One start of a page: first painted start screen and first contentful paint, in ms from the
// start of the navigation. With `probed`, the tests' probe counts the page's timers and listeners
// too: it wraps every such call the page makes (the floor makes none), so the starts timed for
// start-up go without it.
async function start(browser, url, probed = true) {
    const tab = await browser.open(url, { width: 1280, height: 1024, init: probed ? [t.probe, marks] : [marks] });
    const { page, cdp } = tab;
    // Waited on through the protocol alone: Playwright's own waiting would first put its script
    // into the page, and that page's start-up would pay for it.
    await cdp.send('Runtime.evaluate', { expression: 'window.__bench.whenPainted', awaitPromise: true });
    const r = await page.evaluate(() => ({
        painted: window.__bench.painted,
        fcp: (performance.getEntriesByName('first-contentful-paint')[0] || {}).startTime,
    }));
    return { tab, page, cdp, ...r };
}

// JS heap after a full collection, plus the program's WebAssembly memory, in MiB.
async function memory(s) {
    await s.cdp.send('HeapProfiler.collectGarbage');
    const { usedSize } = await s.cdp.send('Runtime.getHeapUsage');
    const wasm = await s.page.evaluate(() =>
        window.__bench.memories.reduce((n, m) => n + m.buffer.byteLength, 0)
    );
    return { heap: usedSize / MiB, wasm: wasm / MiB };
}

// Timer and frame callbacks, and DOM changes, over `seconds` of rest.
async function rest(s, seconds) {
    // At rest: nothing pending any more (the curtains' last tick may still have work posted).
    await s.page.waitForFunction(() => window.__probe.timers.size === 0 && window.__probe.frames.size === 0);
    await s.page.evaluate(() => {
        window.__probe.fired = 0;
        window.__probe.ticks = {};
        window.__bench.changes = 0;
        new MutationObserver((l) => (window.__bench.changes += l.length)).observe(document, {
            subtree: true,
            childList: true,
            attributes: true,
            characterData: true,
        });
    });
    await new Promise((r) => setTimeout(r, seconds * 1000));
    return s.page.evaluate(() => ({
        fired: window.__probe.fired,
        which: Object.entries(window.__probe.ticks).map(([ms, n]) => `${n}×${ms} ms`).join(' '),
        changes: window.__bench.changes,
    }));
}

// Key to updated answer cell: from the key event's time stamp to the change in the DOM that shows
// the digit in the cell (the one element, not a button, whose text becomes "5"), and from there to
// the next animation frame; each press undone with BACKSPACE.
async function keys(s, presses) {
    const { page } = s;
    await page.evaluate(() => {
        const b = window.__bench;
        Object.assign(b, { samples: [], frames: [], down: null, cell: null });
        new MutationObserver((list) => {
            for (const m of list) {
                const el = m.target.nodeType === 1 ? m.target : m.target.parentElement;
                if (b.down === null || el.closest('button') || el.textContent.trim() !== '5') continue;
                const at = performance.now();
                b.samples.push(at - b.down);
                b.down = null;
                b.cell = el;
                requestAnimationFrame(() => b.frames.push(performance.now() - at));
            }
        }).observe(document.body, { subtree: true, childList: true, characterData: true });
    });
    for (let i = 0; i < presses; i++) {
        await page.keyboard.press('Digit5');
        await page.waitForFunction((n) => window.__bench.samples.length > n, i);
        await page.keyboard.press('Backspace');
        await page.waitForFunction(() => window.__bench.cell.textContent.trim() === '?');
    }
    return page.evaluate(() => ({ samples: window.__bench.samples, frames: window.__bench.frames }));
}

async function main() {
    if (!t.present()) throw new Error(`no ${t.PAGE}: build it with scripts/web`);
    const browser = await t.launch('chromium');
    const tarvoUrl = t.URL;
    // The floor gets the start screen's own buttons, read from its first start.
    const first = await start(browser, tarvoUrl);
    const captions = (await first.tab.buttons()).map((n) => n.name);
    await first.tab.close();
    const floorFile = path.join(os.tmpdir(), `tarvo-floor-${process.pid}.html`);
    fs.writeFileSync(floorFile, floorPage(captions));
    const floorUrl = pathToFileURL(floorFile).href;
    await (await start(browser, floorUrl)).tab.close(); // warm, as the first start of Tarvo

    const tarvo = [];
    const floor = [];
    for (let run = 1; run <= args.runs; run++) {
        console.log(`run ${run}/${args.runs}`);
        const f = await start(browser, floorUrl);
        floor.push({ painted: f.painted, fcp: f.fcp, ...(await memory(f)), ...(await rest(f, 1)) });
        await f.tab.close();
        const s = await start(browser, tarvoUrl);
        const r = { painted: s.painted, fcp: s.fcp };
        await t.curtainsOpen(s);
        Object.assign(r, await rest(s, args.idle));
        const atStart = await memory(s);
        await t.WAYS.keys.choose(s, 15);
        await t.titled(s, 'Form1');
        await t.reader(s);
        await t.until(() => t.current(s), 'the first ray');
        Object.assign(r, await keys(s, args.presses));
        const atEnd = await memory(s);
        r.heap = Math.max(atStart.heap, atEnd.heap);
        r.wasm = Math.max(atStart.wasm, atEnd.wasm);
        tarvo.push(r);
        await s.tab.close();
    }
    // Start-up is short and the noisiest figure: starts of their own, alternated, for its medians.
    const starts = { tarvo: [], floor: [] };
    console.log(`${args.startups} starts of each`);
    for (let i = 0; i < args.startups; i++) {
        for (const [name, url] of [['floor', floorUrl], ['tarvo', tarvoUrl]]) {
            const s = await start(browser, url, false);
            starts[name].push(s.painted);
            await s.tab.close();
        }
    }
    await browser.close();
    fs.unlinkSync(floorFile);

    const size = gz(t.PAGE);
    const floorSize = zlib.gzipSync(floorPage(captions), { level: 9 }).length / 1024;
    const fx = (v, d = 1) => (v === undefined ? '–' : v.toFixed(d));
    const paint = median(starts.tarvo);
    const floorPaint = median(starts.floor);
    const spread = (xs) => `${fx(Math.min(...xs))}–${fx(Math.max(...xs))}`;
    const fired = Math.max(...tarvo.map((r) => r.fired));
    const samples = tarvo.flatMap((r) => r.samples);
    const p99 = quantile(samples, 0.99);
    const frames = median(tarvo.flatMap((r) => r.frames));
    const mem = Math.max(...tarvo.map((r) => r.heap + r.wasm));
    const floorMem = median(floor.map((r) => r.heap));
    const rows = [
        ['file size, gzip -9 (KiB)', fx(size), fx(floorSize), '≤ 120', size <= 120],
        [
            'start to first painted start screen (ms)',
            fx(paint),
            fx(floorPaint),
            `≤ 1.5 × floor (${fx(1.5 * floorPaint)})`,
            paint <= 1.5 * floorPaint,
        ],
        [`timer callbacks in ${args.idle} s at rest after the curtains`, `${fired}`, '–', '0', fired === 0],
        [
            `key to updated cell, 99th percentile of ${samples.length} (ms)`,
            fx(p99, 2),
            '–',
            '< 16',
            p99 < 16,
        ],
        ['JS heap + WebAssembly memory (MiB)', fx(mem, 2), fx(floorMem, 2), '≤ 16', mem <= 16],
    ];
    const ok = rows.every((r) => r[4]);
    const table = [
        '| measure | Tarvo (web) | floor page | target | met? |',
        '| --- | --- | --- | --- | --- |',
        ...rows.map((r) => `| ${r.slice(0, 4).join(' | ')} | ${r[4] ? 'yes' : 'NO'} |`),
    ];
    const perRun = [
        '| run | painted | fcp | floor painted | floor fcp | fired at rest | DOM changes at rest | key p50 | key max | key to frame p50 | heap | wasm |',
        '|---|---|---|---|---|---|---|---|---|---|---|---|',
        ...tarvo.map(
            (r, i) =>
                `| ${i + 1} | ${fx(r.painted)} | ${fx(r.fcp)} | ${fx(floor[i].painted)} | ` +
                `${fx(floor[i].fcp)} | ${r.fired}${r.which ? ` (${r.which})` : ''} | ${r.changes} | ${fx(median(r.samples), 2)} | ` +
                `${fx(Math.max(...r.samples), 2)} | ${fx(median(r.frames), 2)} | ${fx(r.heap, 2)} | ${fx(r.wasm, 2)} |`
        ),
    ];
    const chromium = require('node:child_process')
        .execFileSync('/usr/bin/chromium', ['--version'], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] })
        .trim();
    const text = [
        '## Web edition',
        '',
        `Last run of \`bench/run-web\`, ${new Date().toISOString().slice(0, 16).replace('T', ' ')} UTC; ` +
            `${chromium} headless, Node.js ${process.version}, viewport 1280x1024, ` +
            `both pages opened from file://.`,
        '',
        ...table,
        '',
        `Medians of ${args.runs} runs of each page, alternated, after one uncounted start of each; ` +
            `start-up: medians of ${starts.tarvo.length} further starts of each, alternated, without the ` +
            `tests' probe, Tarvo ${spread(starts.tarvo)} ms, floor ${spread(starts.floor)} ms ` +
            `(min–max); the machine may be shared, so single starts are noisy. ` +
            `The floor page is plain HTML with the start screen's own ${captions.length} buttons and ` +
            `menu entries (${captions.join(', ')}), generated by the script. "First painted start ` +
            `screen": the end of the first frame after the button "Vai" exists (the curtains still ` +
            `closed over it), measured the same way on both pages; fcp is Chromium's first ` +
            `contentful paint. At rest: timer and animation-frame callbacks counted by wrapping them, ` +
            `over ${args.idle} s once the curtains have opened and nothing is pending. Key to cell: from the key event's time ` +
            `stamp to the change of the answer cell in the DOM, digit 5 undone with BACKSPACE, ` +
            `${args.presses} times a run, on a tarvo of 15; "key to frame" is from that change to the next ` +
            `animation frame. Memory: JS heap after a forced collection (CDP Runtime.getHeapUsage) plus ` +
            `the byte length of the program's WebAssembly memory, the larger of the start screen and ` +
            `the game screen after the key presses (both windows open).`,
        '',
        'Per run (times in ms, memory in MiB):',
        '',
        ...perRun,
        '',
    ].join('\n');
    console.log(text);
    if (args.out) {
        const old = fs.existsSync(args.out) ? fs.readFileSync(args.out, 'utf8') : '# Benchmark results\n';
        const at = old.indexOf('\n## Web edition');
        fs.writeFileSync(args.out, (at < 0 ? old : old.slice(0, at)).trimEnd() + '\n\n' + text);
    }
    console.log(ok ? 'all targets met' : 'TARGETS MISSED');
    return ok ? 0 : 1;
}

main().then(
    (code) => process.exit(code),
    (e) => {
        console.error(e);
        process.exit(2);
    }
);
