// The program arrives inside the page as a data: address; it is compiled from those bytes
// directly, so that the page asks nothing of the network (its policy forbids every connection).
// Older emscripten names the embedded file up front, newer only when it is first needed.
Module['instantiateWasm'] = function(imports, done) {
  var file = wasmBinaryFile || findWasmBinary();
  // The page's own font is decoded meanwhile: the first layout is then the only one.
  var fonts = document.fonts ? Promise.all(['400', '700'].map(function(weight) {
    return document.fonts.load(weight + ' 10pt "Tarvo Sans"');
  })).catch(function() {}) : null;
  // The browser's own base64 decoder where it has one: it is many times faster than a loop.
  var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(file.slice(file.indexOf(',') + 1))
                                    : tryParseAsDataURI(file);
  Promise.all([WebAssembly.instantiate(bytes, imports), fonts]).then(function(r) {
    done(r[0]['instance'], r[0]['module']);
  });
  return {};
};
