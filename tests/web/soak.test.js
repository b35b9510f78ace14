// A seeded storm of input, as in the desktop's real-window soak: keys with repeats and modifiers,
// every mouse button and chords, touches of several fingers, clicks no pointer made, the page's
// focus lost and regained, both modal screens, and resizes and real presses through the driver
// between the batches; a pupil who plays the tarvo now and then. After every event: exactly one
// program button focused and highlighted (none once the program has ended), every answer cell
// "?" or one to three digits (or empty before its ray); no page error and no request at the end
// of each batch. A failure prints its seed and the last events. TARVO_SOAK_SEED and
// TARVO_SOAK_EVENTS replay or lengthen a run.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const SEED = Number(process.env.TARVO_SOAK_SEED || Date.now() % 1e9);
const EVENTS = Number(process.env.TARVO_SOAK_EVENTS || 20000);
const BATCH = 1000;

// What breaks the rules now: exactly one program button focused and highlighted (none once the
// program has ended), every answer cell "?" or one to three digits (or empty before its ray).
function broken() {
    const all = document.querySelectorAll('button:not([role])');
    const marked = [...document.querySelectorAll('.tarvo-active .tarvo-focus')];
    if (all.length && (marked.length !== 1 || marked[0] !== document.activeElement))
        return `${marked.length} buttons highlighted, the focus on ${document.activeElement && document.activeElement.outerHTML.slice(0, 80)}`;
    for (const sr of document.querySelectorAll('.tarvo-sr')) {
        const m = /uguale( (.*?))?(, .*)?$/.exec(sr.textContent);
        if (m && m[2] !== undefined && !/^(\?|[1-9]\d{0,2})$/.test(m[2])) return `a cell reads "${sr.textContent}"`;
    }
    return null;
}

// One batch of `count` events from `seed`, in the page; returns the events done or, on the first
// broken invariant, what broke and the events before it.
function storm(seed, count, broken) {
    broken = new Function(`return (${broken})`)();
    let x = seed >>> 0;
    const random = () => { // mulberry32
        x = (x + 0x6d2b79f5) >>> 0;
        let r = Math.imul(x ^ (x >>> 15), 1 | x);
        r = (r + Math.imul(r ^ (r >>> 7), 61 | r)) ^ r;
        return ((r ^ (r >>> 14)) >>> 0) / 4294967296;
    };
    const pick = (list) => list[Math.floor(random() * list.length)];
    const KEYS = ['Digit0', 'Digit1', 'Digit5', 'Digit9', 'Numpad3', 'Numpad7', 'NumpadMultiply', 'KeyA',
        'KeyC', 'KeyN', 'KeyE', 'KeyV', 'KeyR', 'Space', 'Enter', 'Tab', 'Backspace', 'Escape', 'ArrowLeft',
        'ArrowDown', 'F5'];
    const keyOf = (code) => code.startsWith('Digit') || code.startsWith('Numpad') && code.length === 7
        ? code.slice(-1) : { NumpadMultiply: '*', Space: ' ' }[code] || (code.startsWith('Key') ? code.slice(3).toLowerCase() : code);
    const held = new Set();
    const pointers = new Map(); // pointerId -> buttons
    const log = [];
    const buttons = () => [...document.querySelectorAll('button')].filter((b) => b.getClientRects().length);
    const spot = () => {
        const b = random() < 0.8 && pick(buttons());
        if (b) {
            const r = b.getBoundingClientRect();
            return [r.x + random() * r.width, r.y + random() * r.height];
        }
        return [random() * innerWidth, random() * innerHeight];
    };
    const mods = () => ({ ctrlKey: random() < 0.05, altKey: random() < 0.05, shiftKey: random() < 0.05,
        metaKey: random() < 0.03 });
    const key = (type, code, extra = {}) => {
        const target = document.activeElement || document.body;
        target.dispatchEvent(new KeyboardEvent(type, { code, key: keyOf(code), bubbles: true, cancelable: true,
            ...mods(), ...extra }));
    };
    const pointer = (type, id, pointerType, button, bits, [cx, cy]) => {
        const target = document.elementFromPoint(cx, cy) || document.body;
        target.dispatchEvent(new PointerEvent(type, { pointerId: id, pointerType, button, buttons: bits,
            clientX: cx, clientY: cy, isPrimary: id === 1, bubbles: true, cancelable: true, ...mods() }));
    };
    // The pupil: the waiting ray's answer, then "Avanti".
    const play = () => {
        for (const sr of document.querySelectorAll('.tarvo-sr')) {
            const m = /^(\d+) meno (\d+) uguale \?$/.exec(sr.textContent);
            if (!m) continue;
            for (const d of String(m[1] - m[2])) ['keydown', 'keyup'].forEach((ty) => key(ty, `Digit${d}`, { ctrlKey: false, metaKey: false }));
            ['KeyA', 'Enter'].forEach((c) => ['keydown', 'keyup'].forEach((ty) => key(ty, c, { ctrlKey: false, metaKey: false })));
            return 'pupil';
        }
        return 'pupil (nothing to answer)';
    };
    const EVENTS = [
        [30, () => { // a key down, maybe held and repeated, or up
            const code = pick(KEYS);
            if (held.has(code) && random() < 0.5) { held.delete(code); key('keyup', code); return `up ${code}`; }
            const repeat = held.has(code);
            held.add(code);
            key('keydown', code, { repeat });
            return `down ${code}${repeat ? ' (repeat)' : ''}`;
        }],
        [25, () => { // a mouse button, alone or with another held
            const button = pick([0, 0, 1, 2, 3, 4]);
            const bit = [1, 4, 2, 8, 16][button];
            const now = pointers.get(1) || 0;
            const at = spot();
            if (now & bit) {
                pointers.set(1, now & ~bit);
                pointer(now & ~bit ? 'pointermove' : 'pointerup', 1, 'mouse', button, now & ~bit, at);
                return `mouse ${button} up`;
            }
            pointers.set(1, now | bit);
            pointer(now ? 'pointermove' : 'pointerdown', 1, 'mouse', button, now | bit, at);
            return `mouse ${button} down${now ? ' (chord)' : ''}`;
        }],
        [15, () => { // a finger or a pen, of several at once
            const id = 2 + Math.floor(random() * 3);
            const type = id === 4 ? 'pen' : 'touch';
            if (pointers.get(id)) {
                pointers.delete(id);
                pointer(random() < 0.2 ? 'pointercancel' : 'pointerup', id, type, 0, 0, spot());
                return `${type} ${id} up`;
            }
            pointers.set(id, 1);
            pointer('pointerdown', id, type, 0, 1, spot());
            return `${type} ${id} down`;
        }],
        [5, () => { // a click no pointer made, as a switch or a reader makes
            const b = pick(buttons());
            if (b) b.click();
            return `click "${b ? b.textContent : ''}"`;
        }],
        [3, () => { // the page loses the focus, or gets it back
            const type = random() < 0.5 ? 'blur' : 'focus';
            window.dispatchEvent(new FocusEvent(type));
            return type;
        }],
        [2, () => { // a modal screen from its menu
            const m = document.querySelector('.tarvo-active [role=menuitem]:not([hidden])');
            if (m) m.click();
            return `menu ${m ? m.textContent : ''}`;
        }],
        [20, play],
    ];
    const total = EVENTS.reduce((n, [w]) => n + w, 0);
    const step = async (i) => {
        let r = random() * total;
        const [, fn] = EVENTS.find(([w]) => (r -= w) < 0) || EVENTS[0];
        log.push(fn());
        if (log.length > 30) log.shift();
        if (i % 20 === 0) // now and then the page's own tasks run: timers, posted work, observers
            await new Promise((done) => {
                const c = new MessageChannel();
                c.port1.onmessage = done;
                c.port2.postMessage(0);
            });
    };
    return (async () => {
        for (let i = 0; i < count; i++) {
            await step(i);
            const wrong = broken();
            if (wrong) return { done: i + 1, wrong, log };
            if (!document.querySelector('button')) return { done: i + 1, ended: true };
        }
        // Nothing stays down when the batch ends.
        for (const code of held) key('keyup', code);
        for (const [id, bits] of pointers) if (bits) pointer('pointerup', id, id === 1 ? 'mouse' : 'touch', 0, 0, [1, 1]);
        return { done: count };
    })();
}

const REAL = 8; // driver events after each batch

// One event through the driver, chosen by `n`; says what it was.
async function real(s, browser, n) {
    const r = (k) => ((n * 2654435761) >>> (k * 3)) % 1000 / 1000;
    const kind = Math.floor(r(0) * 6);
    const anywhere = async () => {
        if (r(1) < 0.6) {
            const b = await s.tab.eval((i) => {
                const all = [...document.querySelectorAll('button')].filter((e) => e.getClientRects().length);
                const e = all[Math.floor(i * all.length)];
                if (!e) return null;
                const q = e.getBoundingClientRect();
                return [q.x + q.width / 2, q.y + q.height / 2];
            }, r(2));
            if (b) return b;
        }
        return s.tab.eval((a, b) => [Math.floor(a * innerWidth), Math.floor(b * innerHeight)], r(3), r(4));
    };
    if (kind === 0) {
        const mod = ['ControlLeft', 'AltLeft', 'MetaLeft', 'ShiftLeft', null][Math.floor(r(1) * 5)];
        const code = r(2) < 0.5 ? 'Space' : 'Enter';
        if (mod) await s.tab.key('down', mod);
        await t.press(s, code);
        if (mod) await s.tab.key('up', mod);
        return `${mod || ''} ${code}`;
    }
    if (kind <= 2) {
        const [x, y] = await anywhere();
        const first = ['left', 'middle', 'right', 'back', 'forward'][Math.floor(r(5) * 5)];
        const then = r(6) < 0.3 ? ['left', 'middle', 'right'].find((b) => b !== first) : null;
        await s.tab.mouse('down', x, y, first);
        if (then) await s.tab.mouse('down', x, y, then);
        if (then) await s.tab.mouse('up', x, y, then);
        await s.tab.mouse('up', x, y, first);
        return `${first}${then ? `+${then}` : ''} at ${x},${y}`;
    }
    if (kind === 3 && browser.can.touch) {
        const [x, y] = await anywhere();
        await s.tab.tap(x, y);
        return `tap at ${x},${y}`;
    }
    if (kind === 4) {
        const [w, h] = [[1280, 1024], [1024, 768], [768, 1024], [1366, 768], [360, 640]][Math.floor(r(7) * 5)];
        await s.tab.resize(w, h);
        return `resize to ${w}x${h}`;
    }
    await s.tab.away();
    await s.tab.back();
    await t.waitFor(s, () => document.hasFocus(), 'the focus back');
    return 'the focus away and back';
}

test(`a storm of ${EVENTS} events, seed ${SEED}`, { skip }, async () => {
    const browser = await t.launch();
    try {
        let done = 0;
        let pages = 0;
        let batch = 0;
        while (done < EVENTS) {
            pages++;
            await t.withPage(browser, { touch: browser.can.touch }, async (s) => {
                await t.curtainsOpen(s);
                for (;;) {
                    const seed = SEED + batch++;
                    const r = await s.tab.eval(storm, seed, Math.min(BATCH, EVENTS - done), String(broken));
                    done += r.done;
                    assert.ok(!r.wrong, `seed ${SEED}, batch seed ${seed}, after ${r.done} events: ${r.wrong}\n` +
                        `the last events: ${(r.log || []).join('; ')}`);
                    assert.deepStrictEqual(await s.tab.errors(), [], `seed ${SEED}: page errors`);
                    assert.deepStrictEqual(t.elsewhere(s), [], `seed ${SEED}: requests`);
                    if (r.ended || done >= EVENTS) break;
                    // Between batches, the driver's own input, seeded too: presses of every mouse
                    // button on and off the buttons and the menu, chords, taps, SPACE and ENTER
                    // with modifiers, resizes, the focus away and back.
                    for (let i = 0; i < REAL; i++) {
                        const what = await real(s, browser, seed * 31 + i);
                        const wrong = await s.tab.eval(broken);
                        assert.ok(!wrong, `seed ${SEED}, batch seed ${seed}, after ${what}: ${wrong}`);
                        if (await s.tab.eval(() => !document.querySelector('button'))) break;
                    }
                    if (await s.tab.eval(() => !document.querySelector('button'))) break;
                }
            });
        }
        console.log(`# soak: ${done} events in ${pages} pages, seed ${SEED}`);
    } finally {
        await browser.close();
    }
});
