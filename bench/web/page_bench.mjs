// SPDX-License-Identifier: MIT
// Speed of the page in headless Chromium: frames per second and the main
// thread's time per frame of a replay at the game's pace (CDP's TaskDuration,
// which holds the program, SDL's drawing and the browser's own work), and the
// time from navigation to the page being ready and to the first title frame.
// A scene is a demo replayed to its end (NAME:DEMO:FRAMES) or the game
// started at one of its scenes and left alone (NAME:scene=SCENE:FRAMES).
//   [RENDERER=software|gpu] node page_bench.mjs SITE FILES SCENE...
import { resolve } from "node:path";
import { launchChromium, serveSite } from "./static_site.mjs";

const [site, files] = process.argv.slice(2, 4).map((p) => resolve(p));
const scenes = process.argv.slice(4).map((s) => s.split(":"));
const server = await serveSite(site, files);
const base = server.base;
const browser = await launchChromium(600_000);

for (const [name, demo, frames] of scenes) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1020, height: 607 });
  const cdp = await page.createCDPSession();
  await cdp.send("Performance.enable");
  const started = Date.now();
  const renderer = process.env.RENDERER ? `&renderer=${process.env.RENDERER}` : "";
  const asked = demo.startsWith("scene=") ? `${demo}&frames=${frames}` : `play=files/${demo}&screenshot=${frames}`;
  await page.goto(`${base}index.html?${asked}${renderer}`);
  await page.waitForFunction(() => document.body.dataset.state === "ready", { timeout: 600_000 });
  const ready = Date.now() - started;
  const task = async () => (await cdp.send("Performance.getMetrics")).metrics.find((m) => m.name === "TaskDuration").value;
  await page.click("#overlay");
  // The game's first frame sets the window title: the frames are counted and
  // timed from there, so the start-up (about a second) is not in the rate.
  await page.waitForFunction(() => /Quandrite/.test(document.title) && document.title !== "Quandrite", { polling: 10 });
  const firstFrame = Date.now();
  const firstTitle = firstFrame - started;
  const taskBefore = await task();
  await page.waitForFunction(() => ["ended", "failed"].includes(document.body.dataset.state), { timeout: 600_000 });
  const seconds = (Date.now() - firstFrame) / 1000;
  const cpu = (await task()) - taskBefore;
  const timed = frames - 1;
  console.log(`${name}: ${timed} frames in ${seconds.toFixed(2)} s, ${(timed / seconds).toFixed(1)} fps, ` +
              `main thread ${((cpu * 1000) / timed).toFixed(2)} ms a frame (${((cpu / seconds) * 100).toFixed(0)} % of a core); ` +
              `ready ${ready} ms, first title ${firstTitle} ms after navigation`);
  await page.close();
}
await browser.closeAndForget();
server.close();
