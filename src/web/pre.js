// The program arrives inside the page as a data: address; it is compiled from those bytes
// directly, so that the page asks nothing of the network (its policy forbids every connection).
Module['instantiateWasm'] = function(imports, done) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports).then(function(out) {
    done(out['instance'], out['module']);
  });
  return {};
};
