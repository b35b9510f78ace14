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

const args = { runs: 5, startups: 20, presses: 50, idle: 5, out: null };
// Chromium's CPU throttling: none, and what Lighthouse takes for mid-range and low-end phones.
const RATES = [1, 4, 6];
for (let i = 2; i < process.argv.length; i += 2) {
    const [k, v] = [process.argv[i].replace(/^--/, ''), process.argv[i + 1]];
    if (!(k in args)) throw new Error(`unknown option --${k} (known: ${Object.keys(args)})`);
    args[k] = k === 'out' ? v : Number(v);
}

// Installed before any script of either page: the time of each key 5 and BACKSPACE, when the
// start screen is first painted (the work of the first frame after its "Vai" button exists is
// done), and the program's WebAssembly memory.
function marks() {
    let painted;
    window.__bench = { painted: null, memories: [], down: null, back: null };
    window.__bench.whenPainted = new Promise((r) => (painted = r));
    // First of all the page's key listeners, so that the time is taken before the program acts.
    addEventListener('keydown', (e) => {
        if (e.code === 'Digit5') window.__bench.down = e.timeStamp;
        if (e.code === 'Backspace') window.__bench.back = e.timeStamp;
    }, true);
    const seen = () =>
        [...document.querySelectorAll('button')].some((b) => b.textContent.trim() === 'Vai');
    const watch = new MutationObserver(() => {
        if (!seen()) return;
        watch.disconnect();
        // Taken as soon as that frame's own work is done: a task of the highest priority runs
        // before the tasks the page has queued meanwhile, which a plain message would wait behind.
        const mark = () => {
            painted((window.__bench.painted = performance.now()));
            if (window.__benchCopy) window.__bench.copy = stillCopy();
        };
        requestAnimationFrame(() => scheduler.postTask(mark, { priority: 'user-blocking' }));
    });
    // The page as that frame drew it, without its scripts and their policy.
    const stillCopy = () => {
        const html = document.documentElement.cloneNode(true);
        html.querySelectorAll('script, meta[http-equiv]').forEach((n) => n.remove());
        return '<!doctype html>\n' + html.outerHTML;
    };
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

// The floor: the start screen's buttons, and the least a page can do for a key, one answer cell
// that a key handler writes the digit into (BACKSPACE puts its "?" back, as Tarvo's cell shows).
function floorPage(captions) {
    const buttons = captions.map((c) => `<button type="button">${c}</button>`).join('\n');
    return (
        '<!doctype html>\n<html lang="it">\n<meta charset="utf-8">\n' +
        '<title>Tavole della moltiplicazione</title>\n' +
        '<style>body{margin:0;background:#ffe0c0;font:bold 18pt sans-serif}' +
        'button{min-width:6em;min-height:3em;margin:.5em;font:inherit}' +
        '#cell{width:3em;height:1.5em;margin:.5em;background:#fff;text-align:center}</style>\n' +
        `<body>\n${buttons}\n<div id="cell">?</div>\n` +
        '<script>addEventListener("keydown", (e) => {\n' +
        '    if (/^[0-9]$/.test(e.key)) cell.textContent = e.key;\n' +
        '    else if (e.key === "Backspace") cell.textContent = "?";\n' +
        '});</script>\n</body>\n</html>\n'
    );
}

// A still copy of Tarvo's start screen as its first frame drew it: the same elements and styles,
// the faces as the style's own fonts, no script: about what that screen costs the browser to
// show, which no program that draws it takes away.
function copyPage(html, page) {
    const face = (w) => {
        const b64 = page.match(new RegExp(`id="tarvo-face-${w}">([^<]*)<`))[1];
        return `@font-face{font-family:"Tarvo Sans";font-weight:${w};src:url(data:font/woff2;base64,${b64})}`;
    };
    return html.replace('<style>', `<style>${face(400)}${face(700)}\n`);
}

const gz = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length / 1024;
const median = (xs) => {
    const s = [...xs].sort((a, b) => a - b);
    const m = s.length >> 1;
    return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};
const quantile = (xs, q) => [...xs].sort((a, b) => a - b)[Math.min(xs.length - 1, Math.ceil(q * xs.length) - 1)];
const MiB = 1024 * 1024;

// One start of a page under CPU throttling of `rate`: first painted start screen and first
// contentful paint, in ms from the start of the navigation. With `probed`, the tests' probe counts
// the page's timers and listeners too: it wraps every such call the page makes (the floor makes
// one), so the starts timed for start-up go without it.
async function start(browser, url, { probed = true, rate = 1, copy = false } = {}) {
    // The rate is set on a blank tab, so that it holds from the navigation's first task: a
    // throttled renderer keeps it over the navigation.
    const init = [...(probed ? [t.probe] : []), marks, ...(copy ? [() => (window.__benchCopy = true)] : [])];
    const tab = await browser.open('about:blank', { width: 1280, height: 1024, init });
    const { page, cdp } = tab;
    await cdp.send('Emulation.setCPUThrottlingRate', { rate });
    await page.goto(url);
    // Waited on through the protocol alone: Playwright's own waiting would first put its script
    // into the page, and that page's start-up would pay for it.
    await cdp.send('Runtime.evaluate', { expression: 'window.__bench.whenPainted', awaitPromise: true });
    const r = await page.evaluate(() => ({
        painted: window.__bench.painted,
        fcp: (performance.getEntriesByName('first-contentful-paint')[0] || {}).startTime,
        copy: window.__bench.copy,
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

// Key to answer cell, at each CPU throttling rate: from the key event's time stamp to the change
// in the DOM that shows the digit in the cell (the one element, not a button, whose text becomes
// "5"), and to the end of the next frame after it, marked as the start screen's first frame is.
// Each press is released once that frame is done, as a pupil's key is held longer than a frame,
// and undone with BACKSPACE, whose frame is waited for too. The tests' probe is paused meanwhile:
// it would wrap each of the program's timer calls.
async function keys(s, presses) {
    const { page, cdp } = s;
    await page.evaluate(() => {
        const b = window.__bench;
        if (window.__probe) window.__probe.paused = true;
        Object.assign(b, { down: null, back: null, cell: null, marks: 0, waiting: [] });
        b.take = () => Object.assign(b, { changed: [], painted: [], frames: [] });
        b.take();
        // Resolves once `n` frames have been marked.
        b.marked = (n) => new Promise((r) => (b.marks >= n ? r() : b.waiting.push([n, r])));
        const mark = (from, at) => {
            requestAnimationFrame(() => {
                const frame = performance.now();
                scheduler.postTask(() => {
                    if (from !== null) {
                        b.painted.push(performance.now() - from);
                        b.frames.push(frame - at);
                    }
                    b.marks++;
                    b.waiting = b.waiting.filter(([n, r]) => (b.marks >= n ? r() : true));
                }, { priority: 'user-blocking' });
            });
        };
        new MutationObserver((list) => {
            for (const m of list) {
                const el = m.target.nodeType === 1 ? m.target : m.target.parentElement;
                if (b.cell === null && b.down !== null && !el.closest('button') && el.textContent.trim() === '5')
                    b.cell = el;
            }
            if (b.cell === null) return;
            const shows = b.cell.textContent.trim() === '5';
            if (shows && b.down !== null) {
                const at = performance.now();
                b.changed.push(at - b.down);
                mark(b.down, at);
                b.down = null;
            } else if (!shows && b.back !== null) {
                mark(null);
                b.back = null;
            }
        }).observe(document.body, { subtree: true, childList: true, characterData: true });
    });
    const marked = (n) => cdp.send('Runtime.evaluate', { expression: `window.__bench.marked(${n})`, awaitPromise: true });
    const out = {};
    let n = 0;
    for (const rate of RATES) {
        await cdp.send('Emulation.setCPUThrottlingRate', { rate });
        await page.evaluate(() => window.__bench.take());
        for (let i = 0; i < presses; i++) {
            for (const code of ['Digit5', 'Backspace']) {
                await s.tab.key('down', code);
                await marked(++n);
                await s.tab.key('up', code);
            }
        }
        out[rate] = await page.evaluate(() => {
            const b = window.__bench;
            return { changed: b.changed, painted: b.painted, frames: b.frames };
        });
    }
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
    await page.evaluate(() => window.__probe && (window.__probe.paused = false));
    return out;
}

async function main() {
    const began = Date.now();
    if (!t.present()) throw new Error(`no ${t.PAGE}: build it with scripts/web`);
    const browser = await t.launch('chromium');
    const tarvoUrl = t.URL;
    // The floor gets the start screen's own buttons, read from its first start.
    const first = await start(browser, tarvoUrl, { copy: true });
    const captions = (await first.tab.buttons()).map((n) => n.name);
    await first.tab.close();
    const floorFile = path.join(os.tmpdir(), `tarvo-floor-${process.pid}.html`);
    fs.writeFileSync(floorFile, floorPage(captions));
    const floorUrl = pathToFileURL(floorFile).href;
    const copyFile = path.join(os.tmpdir(), `tarvo-copy-${process.pid}.html`);
    fs.writeFileSync(copyFile, copyPage(first.copy, fs.readFileSync(t.PAGE, 'utf8')));
    const copyUrl = pathToFileURL(copyFile).href;
    for (const url of [floorUrl, copyUrl]) await (await start(browser, url)).tab.close(); // warm, as Tarvo

    const tarvo = [];
    const floor = [];
    for (let run = 1; run <= args.runs; run++) {
        console.log(`run ${run}/${args.runs}`);
        const f = await start(browser, floorUrl);
        floor.push({ painted: f.painted, fcp: f.fcp, ...(await memory(f)), ...(await rest(f, 1)) });
        floor[floor.length - 1].keys = await keys(f, args.presses);
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
        r.keys = await keys(s, args.presses);
        const atEnd = await memory(s);
        r.heap = Math.max(atStart.heap, atEnd.heap);
        r.wasm = Math.max(atStart.wasm, atEnd.wasm);
        tarvo.push(r);
        await s.tab.close();
    }
    // Start-up is short and the noisiest figure: starts of their own, alternated (and the rates
    // in turn, so that a busier spell of a shared machine falls on all of them), for its medians.
    const starts = Object.fromEntries(RATES.map((rate) => [rate, { tarvo: [], floor: [], copy: [] }]));
    console.log(`${args.startups} starts of each page at each of ${RATES.map((r) => `${r}×`).join(', ')}`);
    for (let i = 0; i < args.startups; i++) {
        for (const rate of RATES) {
            for (const [name, url] of [['floor', floorUrl], ['tarvo', tarvoUrl], ['copy', copyUrl]]) {
                const s = await start(browser, url, { probed: false, rate });
                starts[rate][name].push(s.painted);
                await s.tab.close();
            }
        }
    }
    await browser.close();
    fs.unlinkSync(floorFile);
    fs.unlinkSync(copyFile);

    const size = gz(t.PAGE);
    const floorSize = zlib.gzipSync(floorPage(captions), { level: 9 }).length / 1024;
    const fx = (v, d = 1) => (v === undefined ? '–' : v.toFixed(d));
    const spread = (xs) => `${fx(Math.min(...xs))}–${fx(Math.max(...xs))}`;
    const x = (rate) => `${rate}× CPU`;
    const paint = (rate, name) => median(starts[rate][name]);
    const fired = Math.max(...tarvo.map((r) => r.fired));
    const samples = tarvo.flatMap((r) => r.keys[1].changed);
    const p99 = quantile(samples, 0.99);
    const painted = (runs, rate) => runs.flatMap((r) => r.keys[rate].painted);
    const mem = Math.max(...tarvo.map((r) => r.heap + r.wasm));
    const floorMem = median(floor.map((r) => r.heap));
    // [measure, Tarvo, floor, target, met: true, false or null for none]
    const startRow = (rate) => {
        const [own, base] = [paint(rate, 'tarvo'), paint(rate, 'floor')];
        const row = [`start to first painted start screen, ${x(rate)} (ms)`, fx(own), fx(base)];
        // At 6× the start is reported only: a low-end phone is allowed a slower first screen.
        return rate === 6 ? [...row, '–', null] : [...row, `≤ 1.5 × floor (${fx(1.5 * base)})`, own <= 1.5 * base];
    };
    const keyRow = (rate) => {
        const [own, base] = [painted(tarvo, rate), painted(floor, rate)].map((xs) => quantile(xs, 0.99));
        const row = [`key to painted cell, ${x(rate)}, 99th percentile of ${painted(tarvo, rate).length} (ms)`,
            fx(own, 2), fx(base, 2)];
        return rate !== 6
            ? [...row, '–', null]
            : [...row, `≤ 1.5 × floor (${fx(1.5 * base, 2)}) and < 50`, own <= 1.5 * base && own < 50];
    };
    const rows = [
        ['file size, gzip -9 (KiB)', fx(size), fx(floorSize), '≤ 120', size <= 120],
        ...RATES.map(startRow),
        [`timer callbacks in ${args.idle} s at rest after the curtains`, `${fired}`, '–', '0', fired === 0],
        [
            `key to updated cell, ${x(1)}, 99th percentile of ${samples.length} (ms)`,
            fx(p99, 2),
            fx(quantile(floor.flatMap((r) => r.keys[1].changed), 0.99), 2),
            '< 16',
            p99 < 16,
        ],
        ...RATES.map(keyRow),
        ['JS heap + WebAssembly memory (MiB)', fx(mem, 2), fx(floorMem, 2), '≤ 16', mem <= 16],
    ];
    const ok = rows.every((r) => r[4] !== false);
    const table = [
        '| measure | Tarvo (web) | floor page | target | met? |',
        '| --- | --- | --- | --- | --- |',
        ...rows.map((r) => `| ${r.slice(0, 4).join(' | ')} | ${r[4] === null ? '–' : r[4] ? 'yes' : 'NO'} |`),
    ];
    const perRun = [
        '| run | painted | fcp | floor painted | floor fcp | fired at rest | DOM changes at rest | key p50 | key max | key to frame p50 | heap | wasm |',
        '|---|---|---|---|---|---|---|---|---|---|---|---|',
        ...tarvo.map(
            (r, i) =>
                `| ${i + 1} | ${fx(r.painted)} | ${fx(r.fcp)} | ${fx(floor[i].painted)} | ` +
                `${fx(floor[i].fcp)} | ${r.fired}${r.which ? ` (${r.which})` : ''} | ${r.changes} | ` +
                `${fx(median(r.keys[1].changed), 2)} | ${fx(Math.max(...r.keys[1].changed), 2)} | ` +
                `${fx(median(r.keys[1].frames), 2)} | ${fx(r.heap, 2)} | ${fx(r.wasm, 2)} |`
        ),
    ];
    const ratio = (a, b) => `${(a / b).toFixed(2)} ×`;
    const copyRows = [
        '| CPU | Tarvo | still copy | floor | still copy ÷ floor | Tarvo ÷ still copy |',
        '|---|---|---|---|---|---|',
        ...RATES.map((rate) => {
            const [own, copy, base] = ['tarvo', 'copy', 'floor'].map((name) => paint(rate, name));
            return `| ${rate}× | ${fx(own)} | ${fx(copy)} | ${fx(base)} | ${ratio(copy, base)} | ${ratio(own, copy)} |`;
        }),
    ];
    const stats = (xs) => [median(xs), quantile(xs, 0.99), Math.max(...xs)].map((v) => fx(v, 2)).join(' | ');
    const perRunKeys = [
        '| run | CPU | Tarvo p50 | Tarvo p99 | Tarvo max | floor p50 | floor p99 | floor max |',
        '|---|---|---|---|---|---|---|---|',
        ...tarvo.flatMap((r, i) =>
            RATES.map((rate) => `| ${i + 1} | ${rate}× | ${stats(r.keys[rate].painted)} | ${stats(floor[i].keys[rate].painted)} |`)
        ),
    ];
    const startSpreads = RATES.map(
        (rate) =>
            `${x(rate)}: Tarvo ${spread(starts[rate].tarvo)} ms, floor ${spread(starts[rate].floor)} ms, ` +
            `still copy ${spread(starts[rate].copy)} ms`
    ).join('; ');
    const took = (Date.now() - began) / 1000;
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
            `start-up: medians of ${args.startups} further starts of each page at each CPU rate, ` +
            `alternated (floor, Tarvo, still copy, each rate in turn), without the tests' probe, the rate set by ` +
            `CDP Emulation.setCPUThrottlingRate before the navigation (min–max: ${startSpreads}); ` +
            `the machine may be shared, so single starts are noisy. ` +
            `The floor page is plain HTML with the start screen's own ${captions.length} buttons and ` +
            `menu entries (${captions.join(', ')}), and one answer cell that a keydown handler writes ` +
            `the digit into, generated by the script. "First painted start ` +
            `screen": the end of the first frame after the button "Vai" exists (the curtains still ` +
            `closed over it), measured the same way on both pages; fcp is Chromium's first ` +
            `contentful paint. At rest: timer and animation-frame callbacks counted by wrapping them, ` +
            `over ${args.idle} s once the curtains have opened and nothing is pending. Key to cell: from the key event's time ` +
            `stamp to the change of the answer cell in the DOM ("updated") and to the end of the next ` +
            `frame after it ("painted", marked as the start screen's frame), digit 5 undone with ` +
            `BACKSPACE, ${args.presses} times a run at each CPU rate, on a tarvo of 15 and on the ` +
            `floor page; each key released once its frame is done; "key to frame" is from the change ` +
            `to the next animation frame. Memory: JS heap after a forced collection (CDP Runtime.getHeapUsage) plus ` +
            `the byte length of the program's WebAssembly memory, the larger of the start screen and ` +
            `the game screen after the key presses (both windows open). ` +
            `This run took ${Math.floor(took / 60)} min ${Math.round(took % 60)} s.`,
        '',
        'Start to first painted start screen (medians, ms) of Tarvo, of a still copy of its start ' +
            'screen (the elements and styles its first frame drew, the faces as fonts of the style, no ' +
            'script: about what that screen alone costs the browser to show), and ' +
            'of the floor, in the same alternated starts:',
        '',
        ...copyRows,
        '',
        'Per run (times in ms, memory in MiB; keys at 1× CPU):',
        '',
        ...perRun,
        '',
        'Key to painted cell per run and CPU rate (ms):',
        '',
        ...perRunKeys,
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
