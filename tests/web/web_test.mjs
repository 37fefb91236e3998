// The game's web page in headless Chromium, against the headless program built from the same
// tree: the same script is played in both, and at each shot the canvas must equal the headless
// program's picture pixel for pixel (but for the clock, which runs in real time in the browser).
// The desktop's command keys are played both ways too; the browser must keep its own keys and be
// kept from the game's. Then the statistics must survive a reload, the page must be idle while it
// waits for input, a second tab must wait for the first, a damaged settings file must be kept
// aside, and ?pack=NAME must play a pack of puzzles.
//
// node web_test.mjs SITE VELQUIN VELQUIN_SOLVE
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import {canvasPixels, compareScreens, launchBrowser, readPng, serve} from './page.mjs';

const [site, velquin, solver] = process.argv.slice(2);
if (!solver) {
    console.error('usage: node web_test.mjs SITE VELQUIN VELQUIN_SOLVE');
    process.exit(2);
}
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'velquin-web-'));
let failures = 0;
function check(ok, what) {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    if (!ok) failures++;
}
// Whether a wait of the page's (a promise) saw what it waited for before its time ran out.
const came = (wait) => wait.then(() => true, () => false);

// The screen's top line: the title (with the best score and time once there is one) and the
// moves and time; the clock's digits are there.
const clientTop = 26;
const statusLine = [150, clientTop, 240, clientTop + 15];
const topLine = [0, clientTop, 240, clientTop + 15];
const menuButton = [15, 306], optionsItem = [30, 244], aboutItem = [30, 264], exitItem = [30, 284];
const nextButton = [137, 306];  // the toolbar's last button: Next Puzzle

const taps = (n) => execFileSync(solver, ['--taps', String(n)], {encoding: 'utf8'})
                        .split('\n').filter((l) => l.startsWith('tap '))
                        .map((l) => l.split(' ').slice(1).map(Number));
const solution0 = taps(0), solution5 = taps(5), solution6 = taps(6);

// The script: each step is one script line (or none) and, for shots, the masked rectangles.
const steps = [];
const tap = (x, y) => steps.push({line: `tap ${x} ${y}`, screen: [x, y + clientTop]});
const screenTap = (x, y) => steps.push({line: `screen-tap ${x} ${y}`, screen: [x, y]});
const key = (name, domKey) => steps.push({line: `key ${name}`, key: domKey});
// Two clicks `gap` ms apart at one place: a double tap in the browser, two taps in the script.
const quickTaps = (x, y, gap) =>
    steps.push({line: `screen-tap ${x} ${y}\nscreen-tap ${x} ${y}`, quick: [x, y], gap});
const shot = (name, masks = [statusLine]) => steps.push({line: `shot ${name}`, shot: name, masks});
// Moves are apart in time, so that the game clock has run when the puzzle is solved.
const move = ([x, y]) => {
    tap(x, y);
    steps.push({line: 'wait 150'});
};

tap(5, 5);  // the intro's end
shot('game-0');
screenTap(...menuButton);
shot('menu');
screenTap(...optionsItem);
shot('options-empty', []);
key('escape', 'Escape');
shot('options-cancelled');
key('ctrl+comma', 'Control+Comma');  // the options again, by their key
shot('key-ctrl-comma', []);
key('escape', 'Escape');
solution0.forEach((t, i) => {
    move(t);
    shot(`puzzle-0-move-${i + 1}`, i + 1 === solution0.length ? [topLine] : [statusLine]);
});
screenTap(...menuButton);
screenTap(...aboutItem);
shot('about', [topLine]);
key('return', 'Enter');
// Two quick taps on Next Puzzle are two presses, as the headless program's two taps are.
quickTaps(...nextButton, 300);
shot('two-quick-taps');
quickTaps(...nextButton, 5);
screenTap(...nextButton);
shot('game-5');
solution5.forEach((t, i) => {
    move(t);
    if ([1, 2, 10, 30].includes(i + 1)) shot(`puzzle-5-move-${i + 1}`);
});
shot('puzzle-5-solved', [topLine]);
screenTap(...nextButton);
move(solution6[0]);
// A double tap (a quick double click), then a key.
steps.push({line: `dbltap ${solution6[1].join(' ')}`, double: [solution6[1][0], solution6[1][1] + clientTop]});
shot('puzzle-6-double-tap');
key('left', 'ArrowLeft');
shot('puzzle-6-key');
key('h', 'h');  // a hint: the move on a shortest way, worked out in the page
shot('puzzle-6-hint');
// The desktop's command keys: undo and redo each two ways, and the rules.
key('ctrl+z', 'Control+z');
shot('key-ctrl-z');
key('ctrl+shift+z', 'Control+Shift+Z');
shot('key-ctrl-shift-z');
key('backspace', 'Backspace');
shot('key-backspace');
key('r', 'r');
shot('key-r');
key('f1', 'F1');
shot('key-f1');
key('escape', 'Escape');
screenTap(...nextButton);  // moves made: the game asks before abandoning them
shot('confirm-abort');
key('escape', 'Escape');
shot('abort-refused');
key('home', 'Home');
shot('key-home');
key('n', 'n');  // the moves can still be redone: the game asks again
shot('key-n');
key('return', 'Enter');
shot('key-n-return');
key('pageup', 'PageUp');
shot('key-pageup');

// The headless program's pictures.
const shots = path.join(scratch, 'shots');
fs.mkdirSync(shots);
fs.writeFileSync(path.join(scratch, 'script.txt'), steps.map((s) => s.line).join('\n') + '\n');
execFileSync(velquin, ['--headless', '--script', path.join(scratch, 'script.txt'), '--store',
                       path.join(scratch, 'reference.reg'), '--shots', shots]);

const server = await serve(site);
const browser = await launchBrowser();
try {
    const context = await browser.newContext({viewport: {width: 600, height: 700}});
    // Counts the page's pending timers and animation frames, and the callbacks that ran.
    await context.addInitScript(() => {
        const pending = new Set();
        const watch = window.velquinWatch = {ran: 0, pending: () => pending.size};
        const wrap = (set, clear, kind) => {
            const realSet = window[set], realClear = window[clear];
            window[set] = (fn, ...rest) => {
                const id = realSet((...args) => {
                    if (kind !== 'interval') pending.delete(`${kind}${id}`);
                    watch.ran++;
                    if (typeof fn === 'function') fn(...args);
                }, ...rest);
                pending.add(`${kind}${id}`);
                return id;
            };
            window[clear] = (id) => {
                pending.delete(`${kind}${id}`);
                realClear(id);
            };
        };
        wrap('setTimeout', 'clearTimeout', 'timeout');
        wrap('setInterval', 'clearInterval', 'interval');
        wrap('requestAnimationFrame', 'cancelAnimationFrame', 'frame');
    });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));

    // Waits until the program has taken every input and waits for more.
    const settled = () => page.waitForFunction(() => {
        const w = window.Module && Module.velquinWeb;
        return w && w.waiting && w.taken === w.received;
    });
    let canvasBox = null, lastTap = null;
    const tapScreen = async ([x, y]) => {
        // A second tap at the same place soon after the first would be a double tap.
        if (lastTap && Math.abs(lastTap.x - x) <= 6 && Math.abs(lastTap.y - y) <= 6) {
            const gap = Date.now() - lastTap.t;
            if (gap < 600) await page.waitForTimeout(600 - gap);
        }
        const scale = canvasBox.width / 240;
        await page.mouse.click(canvasBox.x + (x + 0.5) * scale, canvasBox.y + (y + 0.5) * scale);
        lastTap = {x, y, t: Date.now()};
        await settled();
    };
    const introShown = (which = page) => which.waitForFunction(() => {
        const w = window.Module && Module.velquinWeb;
        if (!w || !w.presented) return false;
        // The intro's title letters: something other than black in the client area.
        const d = w.ctx.getImageData(0, 60, 240, 40).data;
        for (let i = 0; i < d.length; i += 4) if (d[i] || d[i + 1] || d[i + 2]) return true;
        return false;
    });
    const openPage = async () => {
        await introShown();
        canvasBox = await page.locator('#screen').boundingBox();
        check(canvasBox.width === 480 && canvasBox.height === 640,
              `the canvas is shown at a whole-number scale (${canvasBox.width} x ${canvasBox.height})`);
    };

    await page.goto(server.url);
    await openPage();
    // Each key the page sees, and whether the browser was kept from acting on it (a listener
    // added after the program's own).
    await page.evaluate(() => {
        window.keysSeen = [];
        window.addEventListener('keydown', (e) => keysSeen.push([e.key, e.defaultPrevented,
                                                                  e.isTrusted]));
    });
    let idleChecked = false;
    for (const step of steps) {
        if (step.screen) await tapScreen(step.screen);
        if (step.double) {
            const scale = canvasBox.width / 240;
            await page.mouse.dblclick(canvasBox.x + (step.double[0] + 0.5) * scale,
                                      canvasBox.y + (step.double[1] + 0.5) * scale);
            lastTap = {x: step.double[0], y: step.double[1], t: Date.now()};
            await settled();
        }
        if (step.quick) {
            const scale = canvasBox.width / 240;
            const [x, y] = step.quick.map((v) => (v + 0.5) * scale);
            await page.mouse.click(canvasBox.x + x, canvasBox.y + y);
            await page.waitForTimeout(step.gap);
            await page.mouse.click(canvasBox.x + x, canvasBox.y + y);
            lastTap = {x: step.quick[0], y: step.quick[1], t: Date.now()};
            await settled();
        }
        if (step.key) {
            await page.keyboard.press(step.key);
            await settled();
        }
        if (!idleChecked && step.line === 'tap 5 5') {
            // The game waits for its first move: no timer, no animation frame, no callback.
            await page.waitForTimeout(300);
            const before = await page.evaluate(() => velquinWatch.ran);
            await page.waitForTimeout(1000);
            const after = await page.evaluate(() => [velquinWatch.ran, velquinWatch.pending()]);
            check(after[0] === before && after[1] === 0,
                  `idle after the intro: ${after[0] - before} callbacks ran, ${after[1]} pending`);
            idleChecked = true;
            // The browser's own keys stay the browser's (the next picture shows that the game
            // ignored them too).
            const passed = await page.evaluate(() => [
                {key: 'F5', code: 'F5'}, {key: 'w', code: 'KeyW', ctrlKey: true},
                {key: 'I', code: 'KeyI', ctrlKey: true, shiftKey: true}, {key: 'Tab', code: 'Tab'},
                {key: 'F12', code: 'F12'}, {key: 'l', code: 'KeyL', metaKey: true},
            ].filter((k) => {
                const e = new KeyboardEvent('keydown', {...k, bubbles: true, cancelable: true});
                window.dispatchEvent(e);
                return !e.defaultPrevented;
            }).length);
            await settled();
            check(passed === 6, `the browser keeps F5, Ctrl+W, Ctrl+Shift+I, Tab, F12 and Meta+L ` +
                                `(${passed} of 6)`);
        }
        if (step.shot) {
            const want = readPng(path.join(shots, `${step.shot}.png`)).rgb;
            const got = await canvasPixels(page);
            const diff = compareScreens(got, want, step.masks);
            check(diff.count === 0, `${step.shot}: the canvas equals the headless picture` +
                                        (diff.count ? ` (${diff.count} pixels differ, first at ${diff.first.join(' ')})` : ''));
            if (diff.count) fs.writeFileSync(path.join(scratch, `${step.shot}.rgb`), got);
        }
    }

    const kept = await page.evaluate(() => keysSeen.filter(([k, prevented, trusted]) =>
        trusted && !prevented && !['Shift', 'Control', 'Alt'].includes(k)).map(([k]) => k));
    check(kept.length === 0, `the game's keys are kept from the browser` +
                             (kept.length ? ` (not: ${kept.join(' ')})` : ''));

    // Alt+Return and F11 put the page on the whole screen and back; the picture stays as it was.
    const before = await canvasPixels(page);
    await page.keyboard.press('Alt+Enter');
    await settled();
    const full = await page.evaluate(() => document.fullscreenElement === document.documentElement);
    await page.keyboard.press('F11');
    await settled();
    const windowed = await page.evaluate(() => document.fullscreenElement === null);
    check(full && windowed, `Alt+Return fills the screen (${full}) and F11 leaves it (${windowed})`);
    await page.waitForFunction(() => document.getElementById('screen').style.width === '480px');
    check(compareScreens(await canvasPixels(page), before).count === 0,
          'the screen is the same after the switch');

    // The statistics reach the browser's storage, then come back after a reload.
    await page.waitForFunction(() => {
        const s = Module.velquinStore;
        return s && !s.busy && s.done === s.started && s.started > 0;
    });
    await page.reload();
    await openPage();
    await tapScreen([5, 5 + clientTop]);
    const hive = await page.evaluate(() => Module.FS.readFile('/store/registry.reg',
                                                              {encoding: 'utf8'}));
    const best = (n) => {
        const m = hive.match(new RegExp(`"bestscore${String(n).padStart(2, '0')}"=dword:([0-9a-f]{8})`));
        return m ? parseInt(m[1], 16) : -1;
    };
    check(best(0) === solution0.length && best(5) === solution5.length,
          `the best scores are kept across a reload (${best(0)} and ${best(5)})`);
    await tapScreen(menuButton);
    await tapScreen(optionsItem);
    // The same dialog from the same file, drawn by the headless program: the times match too.
    fs.writeFileSync(path.join(scratch, 'kept.reg'), hive);
    fs.writeFileSync(path.join(scratch, 'options.txt'),
                     `tap 5 5\nscreen-tap ${menuButton.join(' ')}\n` +
                     `screen-tap ${optionsItem.join(' ')}\nshot options-kept\n`);
    execFileSync(velquin, ['--headless', '--script', path.join(scratch, 'options.txt'), '--store',
                           path.join(scratch, 'kept.reg'), '--shots', shots]);
    const diff = compareScreens(await canvasPixels(page),
                                readPng(path.join(shots, 'options-kept.png')).rgb);
    check(diff.count === 0,
          `after the reload the options dialog shows the kept statistics (${diff.count} pixels differ)`);

    // Once the offline copy is made, the page plays with no network.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await context.setOffline(true);
    check(await came(page.reload().then(() => introShown())),
          'the page loads and draws its intro offline once it has been loaded');
    await context.setOffline(false);

    // A second tab on the same storage waits for the first, and says so.
    const second = await context.newPage();
    await second.goto(server.url);
    await second.waitForFunction(() => document.getElementById('status').textContent.includes('already open'));
    const drawn = await second.evaluate(() => !!(window.Module && Module.velquinWeb));
    check(!drawn, 'a second tab does not start while the first runs, and says why');
    await page.close();
    check(await came(second.waitForFunction(() => window.Module && Module.velquinWeb &&
                                                  Module.velquinWeb.presented > 0 &&
                                                  document.getElementById('status').textContent === '')),
          'the second tab starts, its word gone, once the first is closed');
    // Exit from the menu ends the program; the page says how to play again.
    await introShown(second);
    canvasBox = await second.locator('#screen').boundingBox();
    const secondTap = async ([x, y]) => {
        const scale = canvasBox.width / 240;
        await second.mouse.click(canvasBox.x + (x + 0.5) * scale, canvasBox.y + (y + 0.5) * scale);
        await second.waitForTimeout(100);
    };
    await secondTap([5, 5 + clientTop]);
    await secondTap(menuButton);
    await secondTap(exitItem);
    check(await came(second.waitForFunction(() =>
              document.getElementById('status').textContent.includes('ended'))),
          'Exit ends the game and the page says so');
    check(errors.length === 0, `no errors on the page${errors.length ? ': ' + errors.join('; ') : ''}`);
} catch (e) {
    check(false, `the browser test ran to its end: ${e.message}`);
} finally {
    await browser.close();
}

// A touch screen: a touch is a tap too.
const touchBrowser = await launchBrowser();
try {
    const context = await touchBrowser.newContext({viewport: {width: 600, height: 700},
                                                   hasTouch: true});
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => window.Module && Module.velquinWeb &&
                                     Module.velquinWeb.presented > 1);
    const box = await page.locator('#screen').boundingBox();
    const touch = async (x, y, shotName) => {
        const scale = box.width / 240;
        await page.touchscreen.tap(box.x + (x + 0.5) * scale, box.y + (y + clientTop + 0.5) * scale);
        await page.waitForFunction(() => Module.velquinWeb.waiting &&
                                         Module.velquinWeb.taken === Module.velquinWeb.received);
        const diff = compareScreens(await canvasPixels(page),
                                    readPng(path.join(shots, `${shotName}.png`)).rgb, [statusLine]);
        check(diff.count === 0, `a touch at (${x}, ${y}) is a tap (${diff.count} pixels differ)`);
    };
    await touch(5, 5, 'game-0');
    await touch(...solution0[0], 'puzzle-0-move-1');
} catch (e) {
    check(false, `the page on a touch screen: ${e.message}`);
} finally {
    await touchBrowser.close();
}

// A settings file that cannot be read is kept aside under a dated name, in the browser's storage
// too.
const damagedBrowser = await launchBrowser();
try {
    const page = await damagedBrowser.newPage();
    const started = () => page.waitForFunction(() => window.Module && Module.velquinWeb &&
                                                    Module.velquinWeb.presented > 1);
    await page.goto(server.url);
    await started();
    const damaged = 'This is no settings file.\n';
    await page.evaluate(async (text) => {
        Module.FS.writeFile('/store/registry.reg', text);
        await new Promise((resolve, reject) =>
            Module.FS.syncfs(false, (err) => (err ? reject(err) : resolve())));
    }, damaged);
    await page.reload();
    await started();
    await page.waitForFunction(() => {
        const s = Module.velquinStore;
        return s && !s.busy && s.done === s.started && s.started > 0;
    });
    await page.reload();  // what the storage kept
    await started();
    const aside = await page.evaluate(() => {
        const name = Module.FS.readdir('/store').find((n) => n.startsWith('registry.reg.damaged-'));
        return name ? Module.FS.readFile(`/store/${name}`, {encoding: 'utf8'}) : null;
    });
    check(aside === damaged, 'a damaged settings file is kept aside in the browser\'s storage');
} catch (e) {
    check(false, `the page with a damaged settings file: ${e.message}`);
} finally {
    await damagedBrowser.close();
}

// ?pack=NAME plays the pack of puzzles packs/NAME.txt of the site (served here by the test): its
// first puzzle drawn as the headless program draws it with --puzzles, solved, its statistics in a
// key of their own in the browser's storage. A pack the site lacks gets a message, not the game.
const packBrowser = await launchBrowser();
try {
    const records = ['330121M--;n-W;---', '330211M-W;-N-;n--', '330121-S-;eMS;-N-',
        '442130--MS;-Xe-;-wX-;N---', '441102-S-M;-wnW;Sne-;--N-', '441301--M-;En-W;E-nW;En-W',
        '440220-WS-;SMwn;enNW;-Nn-', '550033s-E-X;-X---;---X-;--XE-;MX--W',
        '551202-----;EnX-X;Nw---;MXSXN;-----', '554043----s;EnNn-;-XXXM;-sSsW;n----',
        '554134---s-;-Xn-n;E--X-;-WX-S;E--NM', '422120--E-;-nnM', '524111---S-;-NWMn',
        '623121-Mw---;--NwN-', '622051--eE--;Ne--MN', '622131e---M-;N-eN--'];
    const packText = '# the built-in puzzles, last first\n' + records.reverse().join('\n') + '\n';
    const packFile = path.join(scratch, 'reversed.txt');
    fs.writeFileSync(packFile, packText);
    const solution15 = taps(15);  // the pack's first puzzle is built-in puzzle 15
    fs.writeFileSync(path.join(scratch, 'pack.txt'), 'tap 5 5\nshot pack-0\n' +
                     solution15.map(([x, y]) => `tap ${x} ${y}\nwait 150\n`).join('') +
                     'shot pack-0-solved\n');
    execFileSync(velquin, ['--headless', '--script', path.join(scratch, 'pack.txt'), '--store',
                           path.join(scratch, 'pack.reg'), '--shots', shots, '--puzzles', packFile]);

    const context = await packBrowser.newContext({viewport: {width: 600, height: 700},
                                                  serviceWorkers: 'block'});
    await context.route('**/packs/reversed.txt', (route) => route.fulfill({body: packText,
                                                                           contentType: 'text/plain'}));
    const page = await context.newPage();
    await page.goto(server.url + '?pack=reversed');
    await page.waitForFunction(() => window.Module && Module.velquinWeb &&
                                     Module.velquinWeb.presented > 1);
    const box = await page.locator('#screen').boundingBox();
    const packTap = async (x, y) => {
        const scale = box.width / 240;
        await page.mouse.click(box.x + (x + 0.5) * scale, box.y + (y + clientTop + 0.5) * scale);
        await page.waitForFunction(() => Module.velquinWeb.waiting &&
                                         Module.velquinWeb.taken === Module.velquinWeb.received);
    };
    await packTap(5, 5);
    const first = compareScreens(await canvasPixels(page),
                                 readPng(path.join(shots, 'pack-0.png')).rgb, [statusLine]);
    for (const [x, y] of solution15) {
        await page.waitForTimeout(150);
        await packTap(x, y);
    }
    const solved = compareScreens(await canvasPixels(page),
                                  readPng(path.join(shots, 'pack-0-solved.png')).rgb, [topLine]);
    await page.waitForFunction(() => {
        const s = Module.velquinStore;
        return s && !s.busy && s.done === s.started && s.started > 0;
    });
    const hive = await page.evaluate(() => Module.FS.readFile('/store/registry.reg',
                                                              {encoding: 'utf8'}));
    const section = /\[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC\\pack-[0-9a-f]{16}\][^[]*/.exec(hive);
    const best = section && /"bestscore00"=dword:([0-9a-f]{8})/.exec(section[0]);
    check(first.count === 0 && solved.count === 0 && best && parseInt(best[1], 16) === solution15.length &&
          !hive.includes('[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]'),
          `?pack=reversed plays the pack as the headless program does (${first.count} and ` +
          `${solved.count} pixels differ), its best score ${best ? parseInt(best[1], 16) : 'missing'} ` +
          `in a key of its own`);

    // The pack the site ships, its puzzles proved with the hint tables fetched before its start.
    execFileSync(velquin, ['--headless', '--script', '-', '--store', path.join(scratch, 'uphill.reg'),
                           '--shots', shots, '--puzzles', path.join(site, 'packs', 'uphill.txt')],
                 {input: 'tap 5 5\nshot uphill-0\n'});
    await page.goto(server.url + '?pack=uphill');
    await page.waitForFunction(() => window.Module && Module.velquinWeb &&
                                     Module.velquinWeb.presented > 1);
    await packTap(5, 5);
    const shipped = compareScreens(await canvasPixels(page),
                                   readPng(path.join(shots, 'uphill-0.png')).rgb, [statusLine]);
    check(shipped.count === 0, `?pack=uphill plays the shipped pack (${shipped.count} pixels differ)`);

    await page.goto(server.url + '?pack=nothere');
    await page.waitForFunction(() => /could not be loaded/.test(document.getElementById('status').textContent));
    const hidden = await page.evaluate(() => getComputedStyle(document.getElementById('screen')).display === 'none' &&
                                             !window.Module.velquinWeb);
    check(hidden, 'a pack the site does not serve gets a message instead of the game');
} catch (e) {
    check(false, `the page with ?pack=NAME: ${e.message}`);
} finally {
    await packBrowser.close();
}

// A browser without WebAssembly gets a clear word instead of a blank page.
const noWasm = await launchBrowser();
try {
    const page = await noWasm.newPage();
    await page.addInitScript(() => delete window.WebAssembly);
    await page.goto(server.url);
    const text = await page.locator('#status').textContent();
    check(/needs WebAssembly/.test(text), `without WebAssembly the page says so: "${text}"`);
} catch (e) {
    check(false, `the page without WebAssembly: ${e.message}`);
} finally {
    await noWasm.close();
    server.stop();
}
if (failures === 0) fs.rmSync(scratch, {recursive: true, force: true});
else console.log(`the pictures and scripts are kept in ${scratch}`);
console.log(failures ? `${failures} checks failed` : 'all checks passed');
process.exit(failures ? 1 : 0);
