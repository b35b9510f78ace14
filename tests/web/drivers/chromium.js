// Debian's Chromium through playwright-core and Chromium's own protocol: no browser of
// Playwright's is ever downloaded. One driver of the browser tests (see README.md here).
'use strict';

const { chromium } = require('playwright-core');
const { keyOf, BUTTONS } = require('./keys');

const EXECUTABLE = process.env.TARVO_CHROMIUM || '/usr/bin/chromium';

async function launch() {
    // Playwright gives every launch a fresh temporary --user-data-dir of its own.
    const browser = await chromium.launch({
        executablePath: EXECUTABLE,
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    return {
        name: 'chromium',
        can: { touch: true, pen: true, zoom: true, repeat: true, lost: true },
        open: (url, options) => open(browser, url, options),
        close: () => browser.close(),
    };
}

async function open(browser, url, { width, height, touch = false, init = [] }) {
    const context = await browser.newContext({ viewport: { width, height }, hasTouch: touch });
    for (const script of init) await context.addInitScript(script);
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    // Without this every page counts as focused, and nothing can take the focus from it.
    await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
    const requests = [];
    page.on('request', (r) => requests.push(r.url()));
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(url);
    await page.bringToFront();
    let modifiers = 0;
    let held = 0; // the side buttons down
    let other = null;
    const tab = {
        url, page, cdp, requests,
        errors: async () => errors,
        eval: (fn, ...args) => page.evaluate(`(${fn})(...${JSON.stringify(args)})`),
        async key(type, code, { repeat = false } = {}) {
            const k = keyOf(code);
            if (k.modifier) modifiers = type === 'down' ? modifiers | k.modifier : modifiers & ~k.modifier;
            const text = type === 'down' && !(modifiers & 6) ? k.text : undefined;
            await cdp.send('Input.dispatchKeyEvent', {
                type: type === 'up' ? 'keyUp' : text ? 'keyDown' : 'rawKeyDown',
                code, key: k.key, text, unmodifiedText: text, windowsVirtualKeyCode: k.vk,
                location: k.location || 0, autoRepeat: repeat, modifiers,
            });
        },
        async mouse(type, x, y, button = 'left') {
            await page.mouse.move(x, y);
            if (type === 'move') return;
            if (!BUTTONS[button].side) return page.mouse[type]({ button });
            // Playwright knows three buttons: the side ones through the protocol.
            held = type === 'down' ? held | BUTTONS[button].bit : held & ~BUTTONS[button].bit;
            await cdp.send('Input.dispatchMouseEvent', { type: type === 'down' ? 'mousePressed' : 'mouseReleased',
                x, y, button, buttons: held, clickCount: 1 });
        },
        // A press whose release the page never hears: the button goes down again, still held.
        lost: (x, y) => cdp.send('Input.dispatchMouseEvent',
            { type: 'mousePressed', x, y, button: 'left', buttons: 1, clickCount: 1 }),
        tap: (x, y) => page.touchscreen.tap(x, y),
        async pen(x, y) {
            for (const type of ['mousePressed', 'mouseReleased'])
                await cdp.send('Input.dispatchMouseEvent', { type, x, y, button: 'left',
                    buttons: type === 'mousePressed' ? 1 : 0, clickCount: 1, pointerType: 'pen' });
        },
        resize: (w, h) => page.setViewportSize({ width: w, height: h }),
        // The browser's zoom: fewer, larger CSS pixels in the same window.
        zoom: (factor, w, h) => cdp.send('Emulation.setDeviceMetricsOverride',
            { width: Math.round(w / factor), height: Math.round(h / factor), deviceScaleFactor: factor,
                mobile: false }),
        async away() {
            other = await context.newPage();
            await other.bringToFront();
        },
        async back() {
            await other.close();
            await page.bringToFront();
        },
        // Every button and menu entry in Chromium's own accessibility tree: [{role, name}].
        async buttons() {
            const { nodes } = await cdp.send('Accessibility.getFullAXTree');
            const value = (v) => (v && v.value) || '';
            return nodes.filter((n) => !n.ignored && /^(button|menuitem)$/.test(value(n.role)))
                .map((n) => ({ role: value(n.role), name: value(n.name) }));
        },
        screenshot: (file) => page.screenshot({ path: file }),
        close: () => context.close(),
    };
    return tab;
}

module.exports = { launch };
