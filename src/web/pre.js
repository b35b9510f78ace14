// The program arrives inside the page as a data: address; it is compiled from those bytes
// directly, so that the page asks nothing of the network (its policy forbids every connection).
// Older emscripten names the embedded file up front, newer only when it is first needed.
Module['instantiateWasm'] = function(imports, done) {
  var file = wasmBinaryFile || findWasmBinary();
  WebAssembly.instantiate(tryParseAsDataURI(file), imports).then(function(out) {
    done(out['instance'], out['module']);
  });
  return {};
};
