// SPDX-License-Identifier: MIT
// What the browser test and the page's benchmark share: the site and a
// folder of the test's files served on 127.0.0.1, and Debian's Chromium,
// headless, with a profile of its own and no browser downloaded.
import { createServer } from "node:http";
import { mkdtempSync, readFileSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import puppeteer from "puppeteer-core";

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".png": "image/png" };

// The site at /, FILES at /files/. Gives the base address and a way to stop.
export async function serveSite(site, files) {
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const [root, rest] = path.startsWith("/files/") ? [files, path.slice(7)] : [site, path.slice(1) || "index.html"];
    const file = normalize(join(root, rest));
    try {
      if (!file.startsWith(root + "/") || !statSync(file).isFile()) throw new Error("not served");
      response.writeHead(200, { "Content-Type": types[extname(file)] || "application/octet-stream" });
      response.end(readFileSync(file));
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  return { base: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// The system's Chromium; `close` also removes its profile.
export async function launchChromium(protocolTimeout) {
  const profile = mkdtempSync(join(tmpdir(), "quandrite-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    protocolTimeout,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  browser.closeAndForget = async () => {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}
