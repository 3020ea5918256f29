// SPDX-License-Identifier: MIT
// The browser build played in Debian's Chromium, headless, from a static
// server on 127.0.0.1: the page and its title screen, a game started with
// Space and steered with the arrow keys into a hiscore that survives a
// reload, its replay downloaded and dropped back to be played, a game
// played with a gamepad and heard, the scripted demos replayed to the native
// summaries, and the title and level 1 frames against the native program's
// within 2 per channel.
//   node browser_test.mjs SITE FILES EXPECTED-DIR [DEMO...]
// FILES holds NAME.demo for each demo and the native screenshots
// (title-native.png, level1-native.png); EXPECTED-DIR the NAME.expected lines.
import { mkdtempSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { launchChromium, serveSite } from "./static_site.mjs";

const [site, files, expectedDir, ...demos] = process.argv.slice(2).map((arg, i) => (i < 3 ? resolve(arg) : arg));
// Generous: the machines are shared, and a loaded one runs the page slowly.
const deadline = 600_000;
const failures = [];

function check(ok, what) {
  console.log((ok ? "ok    " : "FAIL  ") + what);
  if (!ok) failures.push(what);
}

const server = await serveSite(site, files);
const base = server.base;
const browser = await launchChromium(deadline);

async function openPage(query) {
  const page = await browser.newPage();
  // One CSS pixel per pixel of the game's window, so the canvas is shown unscaled.
  await page.setViewport({ width: 1020, height: 607 });
  page.setDefaultTimeout(deadline);
  page.consoleLines = [];
  page.on("console", (message) => page.consoleLines.push(message.text()));
  page.on("pageerror", (error) => page.consoleLines.push("page error: " + error.message));
  await page.goto(base + "index.html" + query);
  return page;
}

const waitForState = (page, state) =>
  page.waitForFunction((s) => document.body.dataset.state === s || document.body.dataset.state === "failed", {}, state)
    .then(() => page.evaluate(() => document.body.dataset.state));
// Waits for the window title, or for the page to fail; says which came.
async function waitForTitle(page, pattern, what) {
  await page.waitForFunction((p) => new RegExp(p).test(document.title) || document.body.dataset.state !== "running",
                             { polling: 50 }, pattern.source);
  const title = await page.title();
  check(pattern.test(title), `${what} (window title ${JSON.stringify(title)})`);
  if (!pattern.test(title)) throw new Error(`the page stopped: ${page.consoleLines.slice(-5).join(" / ")}`);
}

// Largest difference of any channel between two PNGs, decoded by the
// browser; null when their sizes differ.
async function largestDifference(page, first, second) {
  return page.evaluate(async (a, b) => {
    const pixels = async (bytes) => {
      const image = await createImageBitmap(new Blob([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))]));
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      return context.getImageData(0, 0, image.width, image.height);
    };
    const [x, y] = [await pixels(a), await pixels(b)];
    if (x.width !== y.width || x.height !== y.height) return null;
    let largest = 0;
    for (let i = 0; i < x.data.length; ++i) largest = Math.max(largest, Math.abs(x.data[i] - y.data[i]));
    return largest;
  }, first.toString("base64"), second.toString("base64"));
}

// Runs one group of checks; a group that stops half-way is a failure, and
// the next group still runs.
async function group(what, checks) {
  try {
    await checks();
  } catch (error) {
    check(false, `${what}: ${error.message}`);
  }
}

try {
  // The page, the title screen, Space, the arrows and the hiscore table.
  await group("the game in the page", async () => {
    const page = await openPage("");
    check((await waitForState(page, "ready")) === "ready", "the page loads and offers to start");
    await page.click("#overlay");
    await waitForTitle(page, /^\s*Quandrite \d/, "the title screen appears");
    // F11 is the page's: the browser's full screen, left again by the button.
    await page.keyboard.press("F11");
    await page.waitForFunction(() => document.fullscreenElement === document.documentElement);
    check(true, "F11 puts the page in the full screen");
    await page.click("#fullscreen");
    await page.waitForFunction(() => document.fullscreenElement === null);
    check(true, "the full-screen button leaves it");
    await page.keyboard.press("Space", { delay: 200 });
    await waitForTitle(page, /Level 1$/, "Space starts level 1");
    // Space starts the level; held Right walks the girl into the skull at
    // once, which ends the game with time left: a score for the table. Left
    // standing, she would live until the time ran out and score too little.
    await page.keyboard.press("Space", { delay: 200 });
    await page.keyboard.down("ArrowRight");
    await waitForTitle(page, /Game Over$/, "held Right ends the game");
    await page.keyboard.up("ArrowRight");
    const table = "/home/web_user/.local/share/quandrite/quandrite.dat";
    const tableNow = (p) => p.evaluate((path) => {
      const found = Module.FS.analyzePath(path);
      return found.exists ? Array.from(Module.FS.readFile(path)).join(",") : "";
    }, table);
    const tableBefore = await tableNow(page);
    const copiesBefore = await page.evaluate(() => Number(document.body.dataset.copies || 0));
    // A player's key presses, each held for a few frames.
    for (const letter of ["KeyW", "KeyE", "KeyB"]) await page.keyboard.press(letter, { delay: 250 });
    await waitForTitle(page, /^\s*Quandrite \d/, "the initials are taken and the title screen is back");
    await page.waitForFunction((n) => Number(document.body.dataset.copies || 0) > n, {}, copiesBefore);
    const tableAfter = await tableNow(page);
    check(tableAfter !== "" && tableAfter !== tableBefore,
          "the arrow keys walk the girl into the skull: her score and initials enter the table");
    await page.reload();
    check((await waitForState(page, "ready")) === "ready", "the page loads again");
    check((await tableNow(page)) === tableAfter, "the hiscore table survives a reload (IndexedDB)");

    // The game's replay: downloaded as the best one, then dropped on the page,
    // which plays it to the end of the game: a game over on level 1.
    const downloads = mkdtempSync(join(tmpdir(), "quandrite-downloads-"));
    const cdp = await page.createCDPSession();
    const downloaded = new Promise((done) => cdp.on("Browser.downloadProgress", (event) => {
      if (event.state !== "inProgress") done(event.state);
    }));
    await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads, eventsEnabled: true });
    await page.click("#download");
    check((await downloaded) === "completed", "the best replay downloads");
    const replay = readdirSync(downloads).find((name) => /_score-\d+\.replay$/.test(name));
    check(replay !== undefined, `the download is the replay of the game (${readdirSync(downloads).join(", ")})`);
    await Promise.all([
      page.waitForNavigation(),
      page.evaluate((bytes, name) => {
        const data = new DataTransfer();
        data.items.add(new File([Uint8Array.from(bytes)], name));
        dispatchEvent(new DragEvent("drop", { dataTransfer: data, cancelable: true }));
      }, Array.from(readFileSync(join(downloads, replay))), replay),
    ]);
    rmSync(downloads, { recursive: true, force: true });
    await waitForState(page, "ready");
    await page.click("#overlay");
    check((await waitForState(page, "ended")) === "ended", "a dropped replay plays to its end");
    const summary = await page.$eval("#output", (e) => e.textContent);
    check(/^frames \d+ level 1 lives 0 score \d+ hash [0-9a-f]+$/m.test(summary),
          `the dropped replay is the game played: ${summary.trim()}`);
    check(!page.consoleLines.some((l) => l.startsWith("page error")), "no script errors on the page");
    await page.close();
  });

  // A pad through the browser's Gamepad API, as SDL maps a standard one: A
  // starts a game and, held, the level; the D-pad walks the girl into the
  // skull. The pad is the page's own stand-in for a real one.
  await group("a gamepad", async () => {
    const page = await browser.newPage();
    page.setDefaultTimeout(deadline);
    page.consoleLines = [];
    page.on("pageerror", (error) => page.consoleLines.push("page error: " + error.message));
    await page.evaluateOnNewDocument(() => {
      const button = (down) => ({ pressed: down, touched: down, value: down ? 1 : 0 });
      const pad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                    timestamp: 1, axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => button(false)) };
      Object.defineProperty(Navigator.prototype, "getGamepads", { value: () => [pad] });
      window.holdPadButtons = (held) => {
        pad.buttons = pad.buttons.map((_, i) => button(held.includes(i)));
        pad.timestamp = performance.now();
      };
    });
    await page.setViewport({ width: 1020, height: 607 });
    await page.goto(base + "index.html");
    await waitForState(page, "ready");
    await page.click("#overlay");
    await waitForTitle(page, /^\s*Quandrite \d/, "with a pad, the title screen appears");
    // The standard mapping's buttons: 0 is A, 15 the D-pad's right.
    await page.evaluate(() => holdPadButtons([0]));
    await waitForTitle(page, /Level 1$/, "the pad's A starts a game");
    await page.evaluate(() => holdPadButtons([0, 15]));
    await waitForTitle(page, /Game Over$/, "A held starts the level and the D-pad walks the girl into the skull");
    await page.evaluate(() => holdPadButtons([]));
    // The page's click started the browser's sound for the game.
    check(await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
                                    Module.SDL2.audioContext.state === "running"),
          "the game's sound runs in the browser after the click");
    check(!page.consoleLines.some((l) => l.startsWith("page error")), "no script errors with a pad");
    await page.close();
  });

  // A browser without WebAssembly is told so; one without WebGL still plays,
  // drawing in software, and says why it may be slower.
  await group("without WebAssembly", async () => {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => delete globalThis.WebAssembly);
    await page.goto(base + "index.html");
    await page.waitForFunction(() => document.body.dataset.state === "failed");
    const message = await page.$eval("#message", (e) => (e.hidden ? "" : e.textContent));
    check(/needs WebAssembly/.test(message), `without WebAssembly the page says so: ${message}`);
    await page.close();
  });
  await group("without WebGL", async () => {
    const page = await browser.newPage();
    page.consoleLines = [];
    await page.evaluateOnNewDocument(() => {
      const getContext = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return /webgl/.test(kind) ? null : getContext.call(this, kind, ...rest);
      };
    });
    await page.goto(base + "index.html");
    await waitForState(page, "ready");
    check(/WebGL is not available/.test(await page.$eval("#notes", (e) => e.textContent)),
          "without WebGL the page says the game draws without the graphics card");
    await page.click("#overlay");
    await waitForTitle(page, /^\s*Quandrite \d/, "without WebGL the title screen still appears");
    await page.close();
  });

  // The scripted demos, each against its native summary.
  for (const name of demos) await group(`demo ${name}`, async () => {
    const page = await openPage("?timedemo=files/" + name + ".demo");
    const expected = readFileSync(join(expectedDir, name + ".expected"), "utf8").trim();
    await page.waitForFunction(() => /^frames /m.test(document.getElementById("output").textContent) ||
                                     ["ended", "failed"].includes(document.body.dataset.state));
    const shown = (await page.$eval("#output", (e) => e.textContent)).split("\n").find((l) => l.startsWith("frames "));
    check(shown === expected, `demo ${name}: ${shown} (native: ${expected})`);
    check(page.consoleLines.includes(expected), `demo ${name}: the summary is in the console too`);
    await page.close();
  });

  // The title and level 1 frames the game in the page composes and writes,
  // against the native program's.
  for (const [name, frame] of [["title", 3], ["level1", 120]]) await group(`the ${name} frame`, async () => {
    const page = await openPage(`?play=files/level1_complete.demo&screenshot=${frame}`);
    await waitForState(page, "ready");
    await page.click("#overlay");
    check((await waitForState(page, "ended")) === "ended", `${name}: the replay runs to frame ${frame}`);
    const native = readFileSync(join(files, name + "-native.png"));
    const written = Buffer.from(await page.evaluate(() => Array.from(Module.FS.readFile("/tmp/screenshot.png"))));
    const difference = await largestDifference(page, written, native);
    check(difference !== null && difference <= 2,
          `${name}: the page's frame ${frame} is the native one (largest difference ${difference})`);
    await page.close();
  });
} finally {
  await browser.closeAndForget();
  server.close();
}

console.log(failures.length ? `${failures.length} check(s) failed` : "all checks passed");
process.exit(failures.length ? 1 : 0);
