// Photographs the web edition's two main screens at 1280x1024 (or SIZE, as 768x1024) in one
// engine (chromium, the default, firefox or webkit), in the states scripts/screenshots.py
// photographs the desktop edition in: OUT/ENGINE-inizio.png and OUT/ENGINE-gioco.png (see
// scripts/screenshots-web, scripts/screenshots-engines and scripts/screenshots-devices).
// Usage: node scripts/screenshots-web.js OUT [ENGINE [SIZE]]
'use strict';

const path = require('node:path');
const t = require('../tests/web/support');

async function main(out, engine, [width, height]) {
    const browser = await t.launch(engine);
    try {
        await t.withPage(browser, { width, height }, async (s) => {
            await t.curtainsOpen(s);
            await t.press(s, 'Digit5');
            await t.press(s, 'Enter'); // the tarvo of 15, highlight on "Vai"
            await t.until(async () => (await t.focusedName(s)) === 'Vai', 'the highlight on Vai');
            await s.tab.screenshot(path.join(out, `${engine}-inizio.png`));
            await t.press(s, 'Enter');
            await t.titled(s, 'Form1');
            const ray = await t.until(() => t.current(s), 'the first ray');
            await t.press(s, 'Digit1');
            await t.press(s, 'Digit2');
            await t.cellReads(s, ray, '12');
            await t.until(async () => (await t.focusedName(s)) === '2', 'the highlight on 2');
            await s.tab.screenshot(path.join(out, `${engine}-gioco.png`));
        });
    } finally {
        await browser.close();
    }
}

const size = (process.argv[4] || '1280x1024').split('x').map(Number);
main(process.argv[2] || 'docs', process.argv[3] || 'chromium', size).catch((e) => {
    console.error(e);
    process.exit(1);
});
