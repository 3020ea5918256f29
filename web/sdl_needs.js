// SPDX-License-Identifier: MIT
// Functions of Emscripten's own library that SDL's browser code calls: its
// port of SDL asks for them, the SDL built here from Debian's source cannot.
mergeInto(LibraryManager.library, {
  quandrite_sdl_needs__deps: ["$autoResumeAudioContext", "$dynCall"],
  quandrite_sdl_needs: function () {},
});
