// The README's picture of the game in the browser: the page in headless Chromium, the intro
// tapped away, puzzle 5 a few moves in.  node picture.mjs SITE VELQUIN_SOLVE OUT.png
import {execFileSync} from 'node:child_process';

import {launchBrowser, serve} from './page.mjs';

const [site, solver, out] = process.argv.slice(2);
const moves = execFileSync(solver, ['--taps', '5'], {encoding: 'utf8'})
                  .split('\n').filter((l) => l.startsWith('tap ')).slice(0, 7)
                  .map((l) => l.split(' ').slice(1).map(Number));
const server = await serve(site);
const browser = await launchBrowser();
try {
    const page = await browser.newPage({viewport: {width: 600, height: 680}});
    await page.goto(server.url);
    await page.waitForFunction(() => window.Module && Module.velquinWeb &&
                                     Module.velquinWeb.presented > 2);
    const box = await page.locator('#screen').boundingBox();
    const scale = box.width / 240;
    const tap = async (x, y) => {
        await page.mouse.click(box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale);
        await page.waitForTimeout(650);  // apart, so that no two taps make a double tap
    };
    await tap(5, 31);
    for (let n = 0; n < 5; ++n) await tap(137, 306);  // Next Puzzle, five times
    for (const [x, y] of moves) await tap(x, y + 26);
    await page.screenshot({path: out});
} finally {
    await browser.close();
    server.stop();
}
