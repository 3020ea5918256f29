// SPDX-License-Identifier: MIT
// The page around the game: it checks what the browser offers, keeps the
// player's files in IndexedDB, starts the game on a click (browsers let sound
// play only after one), fits the picture to the window, and offers the full
// screen, the best replay's download and the playing of a dropped replay.
// Served files may be replayed: index.html?timedemo=FILE as fast as the
// browser allows, index.html?play=FILE at the game's pace (&screenshot=N also
// writes frame N to /tmp/screenshot.png and ends there); either shows the
// game's summary line. index.html?scene=level17 starts the game there, as
// --scene does, for benchmarks (&frames=N ends it after N frames).
// &renderer=software|gpu chooses what draws the picture.
"use strict";

(function () {
  const params = new URLSearchParams(location.search);
  const timedemo = params.get("timedemo");
  const play = params.get("play");
  const screenshot = params.get("screenshot");
  const scene = /^(title|gameover|level([1-9]|1[0-9]|20))$/.test(params.get("scene") || "") ? params.get("scene") : null;
  const frames = /^[1-9][0-9]*$/.test(params.get("frames") || "") ? params.get("frames") : null;
  // What draws the picture, as --renderer says: auto, software or gpu.
  const renderer = /^(auto|software|gpu)$/.test(params.get("renderer") || "") ? params.get("renderer") : null;
  // The game keeps its table, settings and replays under HOME, as on Linux.
  const home = "/home/web_user";
  const replays = home + "/.local/share/quandrite/replays";
  const dropped = home + "/dropped.replay";

  const canvas = document.getElementById("canvas");
  const overlay = document.getElementById("overlay");
  const message = document.getElementById("message");
  const notes = document.getElementById("notes");
  const output = document.getElementById("output");
  let running = false;

  function fail(text) {
    message.textContent = text;
    message.hidden = false;
    overlay.hidden = true;
    document.body.dataset.state = "failed";
  }

  function note(text) {
    const line = document.createElement("div");
    line.textContent = text;
    notes.appendChild(line);
  }

  if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
    fail("Quandrite needs WebAssembly, which this browser does not offer or has switched off. " +
         "A current Firefox, Chrome, Edge or Safari plays it.");
    return;
  }
  {
    const probe = document.createElement("canvas");
    if (!probe.getContext("webgl2") && !probe.getContext("webgl"))
      note("WebGL is not available in this browser, so the game draws without the graphics card; " +
           "it may run slower.");
  }

  // Scales the game's picture to the window, keeping its shape. Only once
  // the game has sized its canvas: SDL takes a canvas sized by the page
  // when it opens its window as a size the page imposes, and would draw
  // the game at that size.
  function fit() {
    if (!running || canvas.width <= 1) return;
    const scale = Math.min(innerWidth / canvas.width, innerHeight / canvas.height);
    canvas.style.width = Math.floor(canvas.width * scale) + "px";
    canvas.style.height = Math.floor(canvas.height * scale) + "px";
  }
  addEventListener("resize", fit);
  new MutationObserver(fit).observe(canvas, { attributes: true, attributeFilter: ["width", "height"] });

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    // The whole page, so its buttons stay at hand in the full screen.
    else document.documentElement.requestFullscreen().catch(() => note("The browser refused the full screen."));
  }
  document.getElementById("fullscreen").addEventListener("click", toggleFullscreen);
  document.addEventListener("fullscreenchange", () => setTimeout(fit));
  const scrollingKeys = new Set(["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", " ", "PageUp", "PageDown",
                                 "Home", "End"]);
  // Before the game sees a key: F11 is the page's (only the page may ask the
  // browser for the full screen while the key is down), and the keys that
  // would scroll the page play instead.
  addEventListener("keydown", (event) => {
    if (event.key === "F11") {
      event.preventDefault();
      event.stopImmediatePropagation();
      toggleFullscreen();
    } else if (scrollingKeys.has(event.key)) {
      event.preventDefault();
    }
  }, true);

  // A copy of HOME is kept in IndexedDB; each finished save asks for the
  // copy to be brought up to date, one copy at a time.
  let copying = false;
  let copyAgain = false;
  let copies = 0;
  function keepSavedFiles() {
    if (copying) {
      copyAgain = true;
      return;
    }
    copying = true;
    Module.FS.syncfs(false, (error) => {
      copying = false;
      if (error) note("The browser would not store your saved games: they last only until the page closes.");
      else document.body.dataset.copies = String(++copies);
      if (copyAgain) {
        copyAgain = false;
        keepSavedFiles();
      }
    });
  }

  function mountHome() {
    const FS = Module.FS;
    FS.mkdirTree(home);
    FS.mount(FS.filesystems.IDBFS, {}, home);
    Module.addRunDependency("home");
    FS.syncfs(true, (error) => {
      if (error) note("Your saved games could not be read from the browser's storage; the game starts without them.");
      Module.removeRunDependency("home");
    });
  }

  function start(args) {
    if (renderer) args = args.concat(["--renderer", renderer]);
    overlay.hidden = true;
    running = true;
    document.body.dataset.state = "running";
    canvas.focus();
    Module.callMain(args);
  }

  // A served file copied into the page's memory, at PATH; false (with the
  // reason on the page) when it could not be fetched.
  async function fetchInto(url, path) {
    try {
      const response = await fetch(url);
      if (!response.ok) throw new Error(response.status + " " + response.statusText);
      Module.FS.writeFile(path, new Uint8Array(await response.arrayBuffer()));
      return true;
    } catch (error) {
      fail("Could not fetch " + url + ": " + error.message);
      return false;
    }
  }

  // The command line the address asks for.
  async function argumentsAsked() {
    if (play === "dropped") return Module.FS.analyzePath(dropped).exists ? ["--play", dropped] : [];
    if (scene) return ["--scene", scene].concat(frames ? ["--frames", frames] : []);
    if (!play) return [];
    if (!(await fetchInto(play, "/tmp/play.replay"))) return null;
    const args = ["--play", "/tmp/play.replay"];
    if (/^[0-9]+$/.test(screenshot || "")) args.push("--screenshot", screenshot, "/tmp/screenshot.png", "--frames", screenshot);
    return args;
  }

  async function ready() {
    if (timedemo) {
      // Headless, as the native time demos run: the window's place on the
      // desktop is part of the state the summary's hash covers.
      if (await fetchInto(timedemo, "/tmp/timedemo.demo")) start(["--timedemo", "/tmp/timedemo.demo", "--headless"]);
      return;
    }
    const args = await argumentsAsked();
    if (!args) return;
    overlay.hidden = false;
    document.body.dataset.state = "ready";
    const begin = (event) => {
      if (event.type === "keydown" && event.key !== "Enter" && event.key !== " ") return;
      overlay.removeEventListener("click", begin);
      removeEventListener("keydown", begin);
      start(args);
    };
    overlay.addEventListener("click", begin);
    addEventListener("keydown", begin);
  }

  function ended(status) {
    running = false;
    document.body.dataset.state = "ended";
    message.hidden = false;
    message.textContent = "";
    const text = document.createElement("div");
    text.textContent = status === 0 ? "The game has ended." : "The game stopped (status " + status + ").";
    const again = document.createElement("a");
    again.href = location.pathname;
    again.textContent = "Play again";
    again.style.color = "#8cf";
    message.append(text, again);
    if (timedemo) message.hidden = true;
  }

  // The best replay: the highest score in the names, the earliest of equals.
  function bestReplay() {
    let best = null;
    let bestScore = -1;
    let names = [];
    try {
      names = Module.FS.readdir(replays).filter((name) => name.endsWith(".replay")).sort();
    } catch (error) {
      return null;
    }
    for (const name of names) {
      const found = /_score-(\d+)/.exec(name);
      if (found && Number(found[1]) > bestScore) {
        bestScore = Number(found[1]);
        best = name;
      }
    }
    return best;
  }

  document.getElementById("download").addEventListener("click", () => {
    const name = Module.FS && bestReplay();
    if (!name) {
      note("No replay yet: play a game first.");
      return;
    }
    const bytes = Module.FS.readFile(replays + "/" + name);
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });

  // A dropped replay is kept beside the player's files and played by a
  // fresh start of the page.
  addEventListener("dragover", (event) => event.preventDefault());
  addEventListener("drop", async (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (!file || !Module.FS) return;
    if (!file.name.endsWith(".replay")) {
      note(file.name + " is not a replay (a .replay file).");
      return;
    }
    if (running && !confirm("Leave this game to watch " + file.name + "?")) return;
    Module.FS.writeFile(dropped, new Uint8Array(await file.arrayBuffer()));
    Module.FS.syncfs(false, () => location.assign(location.pathname + "?play=dropped"));
  });

  window.Module = {
    canvas: canvas,
    arguments: [],
    preRun: [mountHome],
    onRuntimeInitialized: ready,
    onExit: ended,
    onAbort: (what) => fail("The game stopped: " + what),
    keepSavedFiles: keepSavedFiles,
    print: (line) => {
      console.log(line);
      if (/^frames \d+ level \d+ lives \d+ score \d+ hash [0-9a-f]+$/.test(line) ||
          line.startsWith("timedemo: ")) output.textContent += line + "\n";
    },
    printErr: (line) => console.warn(line),
  };

  const script = document.createElement("script");
  script.src = "quandrite.js";
  script.onerror = () => fail("The game's program (quandrite.js) could not be loaded.");
  document.body.appendChild(script);
})();
