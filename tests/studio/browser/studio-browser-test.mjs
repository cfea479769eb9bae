// Drives the studio's page in Chromium by its accessible names, as a maker
// would: add three photos (one named as written, with an umlaut and spaces),
// reorder them, title, captions, pan and zoom, transitions, watch the
// preview play, save, build, and check the saver with `inspect --json`.
// Prints the timings it measured and leaves two screenshots in --work.
//
//   node studio-browser-test.mjs --tool TOOL --player PLAYER --photos DIR --work DIR
//     --modules NODE_MODULES (where npm installed package.json's packages)
import { spawn, execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { createInterface } from 'node:readline';
import fs from 'node:fs';
import path from 'node:path';

const args = Object.fromEntries(process.argv.slice(2).reduce((pairs, value, i, all) =>
  (i % 2 === 0 ? [...pairs, [value.replace(/^--/, ''), all[i + 1]]] : pairs), []));
const puppeteer = createRequire(path.join(path.resolve(args.modules), 'index.js'))('puppeteer-core');
const work = path.resolve(args.work);
const project = path.join(work, 'project');
let passes = 0, failures = 0;

function check(condition, what) {
  console.log(`${condition ? 'ok' : 'FAILED'}: ${what}`);
  if (condition) passes++; else failures++;
}

function startStudio() {
  const started = performance.now();
  const studio = spawn(args.tool, ['studio', project, '--no-open', '--player', args.player],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    createInterface({ input: studio.stdout }).once('line', (line) => {
      const address = line.match(/http:\/\/\S+/)?.[0];
      address ? resolve({ studio, address, started }) : reject(new Error(line));
    });
    studio.once('exit', (code) => reject(new Error(`the studio ended with ${code}`)));
  });
}

// Watches the preview's images for ms milliseconds: how many, how many
// while a transition runs (images less than 100 ms of show time apart),
// and the pace: show time played per second of real time (1 is the
// player's own pace).
async function previewChanges(page, ms) {
  return page.evaluate((ms) => new Promise((resolve) => {
    const image = document.getElementById('preview');
    const seen = new Set();
    const shown = [];
    const observer = new MutationObserver(() => {
      seen.add(image.dataset.frame);
      shown.push([performance.now(), Number(image.dataset.at)]);
    });
    observer.observe(image, { attributes: true, attributeFilter: ['data-frame'] });
    setTimeout(() => {
      observer.disconnect();
      let moving = 0, movingMs = 0, longestStill = 0;
      for (let i = 1; i < shown.length; i++) {
        longestStill = Math.max(longestStill, shown[i][1] - shown[i - 1][1]);
        if (shown[i][1] - shown[i - 1][1] > 0 && shown[i][1] - shown[i - 1][1] < 100) {
          moving++;
          movingMs += shown[i][0] - shown[i - 1][0];
        }
      }
      const played = shown.length > 1 ? shown.at(-1)[1] - shown[0][1] : 0;
      const took = shown.length > 1 ? shown.at(-1)[0] - shown[0][0] : 1;
      resolve({
        changes: shown.length, distinct: seen.size,
        transitionFps: movingMs ? moving * 1000 / movingMs : 0,
        pace: played > 0 ? played / took : 0, longestStill,
      });
    }, ms);
  }), ms);
}

async function listNames(page) {
  return page.$$eval('[aria-label="Pictures"] li', (items) => items.map((item) => item.dataset.name));
}

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(project, { recursive: true });
const photos = fs.readdirSync(args.photos).filter((n) => n.endsWith('.jpg')).slice(0, 3)
  .map((n) => path.join(args.photos, n));
// One photo goes in under a name as a maker writes it; the page, the saver
// and its captions keep it.
const written = 'Br\u00fccke am Strand.jpg';
fs.copyFileSync(photos[1], path.join(work, written));
photos[1] = path.join(work, written);

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
const { studio, address, started } = await startStudio();
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(address, { waitUntil: 'domcontentloaded' });
  await page.waitForSelector('body[data-ready="true"]');
  const readyMs = performance.now() - started;
  // The part of it from the browser's request for the page.
  const pageMs = await page.evaluate(() => performance.now());

  const [chooser] = await Promise.all([
    page.waitForFileChooser(),
    page.click('aria/Add photos'),
  ]);
  await chooser.accept(photos);
  await page.waitForFunction(() => document.querySelectorAll('[aria-label="Pictures"] li').length === 3);
  const added = await listNames(page);
  check(added.length === 3, 'three photos added to "Pictures"');
  const writtenAt = added.indexOf(`pictures/${written}`);
  check(writtenAt >= 0 && await page.$(`aria/${writtenAt + 1}. ${written}[role="listitem"]`) !== null,
    `"${written}" is listed by its name as written: ${added}`);

  await page.focus('[aria-label="Pictures"] li:first-child');
  await page.keyboard.down('Alt');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.up('Alt');
  const reordered = await listNames(page);
  check(reordered[0] === added[1] && reordered[1] === added[0], 'Alt+Down moves the first photo down');

  await (await page.waitForSelector('aria/Title[role="textbox"]')).click({ count: 3 });
  await page.keyboard.type('Browser Show');
  await (await page.waitForSelector('aria/Caption[role="textbox"]')).type('Hello from the studio');
  const first = path.basename(reordered[0]);
  await (await page.waitForSelector(`aria/Caption of ${first}[role="textbox"]`)).type('Its own caption');
  await (await page.waitForSelector('aria/Motion[role="combobox"]')).select('pan-zoom');
  await (await page.waitForSelector('aria/Zoom[role="spinbutton"]')).type('1.3');
  await page.keyboard.press('Tab');
  await (await page.waitForSelector('aria/Transition 5')).click();
  await (await page.waitForSelector('aria/Transition 118')).click();
  const pressed = await page.$$eval('.tile[aria-pressed="true"]', (t) => t.map((x) => x.dataset.style));
  check(pressed.join() === '5,118', 'transitions 5 and 118 are picked');

  await page.waitForFunction(() => document.getElementById('preview').dataset.frame, { timeout: 60000 });
  const played = await previewChanges(page, 4000);
  check(played.distinct >= 2, `the preview plays (${played.distinct} images in 4 s)`);

  // A change restarts the preview: time until the new run's first image.
  const before = await page.$eval('#preview', (i) => i.dataset.frame.split('/')[0]);
  const changedAt = performance.now();
  await (await page.waitForSelector('aria/Caption[role="textbox"]')).type('!');
  await page.waitForFunction((run) => document.getElementById('preview').dataset.frame?.split('/')[0] !== run,
    { timeout: 30000 }, before);
  const restartMs = performance.now() - changedAt;
  const steady = await previewChanges(page, 12000);
  check(steady.longestStill < 500, `the preview pans and zooms between transitions (stills at most ${steady.longestStill} ms)`);
  // A moving picture is painted fewer times for the preview, and frames that
  // come late are skipped, so the page keeps up with the player.
  check(steady.pace >= 0.8, `the moving preview keeps the player's pace (${steady.pace.toFixed(2)})`);

  await page.evaluate(() => { document.activeElement.blur(); window.scrollTo(0, 0); });
  await page.screenshot({ path: path.join(work, 'studio-1280x800.png') });
  await page.setViewport({ width: 1920, height: 1080 });
  await new Promise((r) => setTimeout(r, 500));
  await page.screenshot({ path: path.join(work, 'studio-1920x1080.png') });

  await (await page.waitForSelector('aria/Save[role="button"]')).click();
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Saved'));
  await (await page.waitForSelector('aria/Build saver[role="button"]')).click();
  await page.waitForFunction(() => /^(Wrote|Not built)/.test(document.getElementById('build-text').textContent),
    { timeout: 120000 });
  const built = await page.$eval('#build-text', (e) => e.textContent);
  check(built.startsWith('Wrote'), `Build saver: ${built}`);

  const saver = path.join(project, 'Browser Show.scr');
  const report = JSON.parse(execFileSync(args.tool, ['inspect', '--json', saver]));
  const names = report.pictures.map((p) => p.name);
  check(names.join() === reordered.map((n) => path.basename(n)).join(), `the saver's pictures in order: ${names}`);
  check(report.settings.Title === 'Browser Show', 'the saver has the title');
  check(report.settings.Text === 'Hello from the studio!', 'the saver has the caption');
  check(report.settings.EffectCommaList === '5,118', `the saver's transitions: ${report.settings.EffectCommaList}`);
  const captions = report.pictures.map((p) => p.caption);
  // The others show the show's caption.
  check(captions.join('|') === 'Its own caption|Hello from the studio!|Hello from the studio!',
    `the pictures' captions: ${JSON.stringify(captions)}`);
  check(report.settings.Motion === 1 && report.settings.MotionZoom === 1300,
    `the saver pans and zooms: Motion ${report.settings.Motion}, MotionZoom ${report.settings.MotionZoom}`);

  console.log(`studio to page ready: ${readyMs.toFixed(0)} ms (${pageMs.toFixed(0)} ms of it from the page's request, at most)`);
  console.log(`preview restart after a change: ${restartMs.toFixed(0)} ms`);
  console.log(`preview at 1920x1080: ${steady.changes} images in 12 s, ` +
    `${steady.transitionFps.toFixed(1)} a second during transitions, ` +
    `pace ${steady.pace.toFixed(2)} of the player's`);
} finally {
  await browser.close();
  studio.kill('SIGINT');
  await new Promise((resolve) => studio.once('exit', resolve));
}
const left = fs.readdirSync(process.env.TMPDIR ?? '/tmp').filter((n) => n.startsWith('pixvane-studio-'));
check(!left.some((n) => address.includes(n.replace('pixvane-studio-', ''))), 'Ctrl+C leaves no temporary files');
console.log(`studio-browser: ${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
