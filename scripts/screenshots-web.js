// Photographs the web edition's two main screens at 1280x1024 in the states scripts/screenshots.py
// photographs the desktop edition in (see scripts/screenshots-web).
'use strict';

const path = require('node:path');
const t = require('../tests/web/support');

async function main(out) {
    const browser = await t.launch();
    try {
        const s = await t.open(browser, { width: 1280, height: 1024 });
        const { page, cdp } = s;
        await t.curtainsOpen(page);
        await page.keyboard.press('Digit5');
        await page.keyboard.press('Enter'); // the tarvo of 15, highlight on "Vai"
        await t.until(page, async () => (await t.focusedName(cdp)) === 'Vai', 'the highlight on Vai');
        await page.screenshot({ path: path.join(out, 'web-inizio.png') });
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => document.title === 'Form1');
        const ray = await t.until(page, () => t.current(cdp), 'the first ray');
        await page.keyboard.press('Digit1');
        await page.keyboard.press('Digit2');
        await t.until(page, async () => (await t.focusedName(cdp)) === '2' &&
            (await t.rays(cdp)).some((r) => r.k === ray.k && r.answer === '12'), 'the answer 12');
        await page.screenshot({ path: path.join(out, 'web-gioco.png') });
    } finally {
        await browser.close();
    }
}

main(process.argv[2] || 'docs').catch((e) => {
    console.error(e);
    process.exit(1);
});
