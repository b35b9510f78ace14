// The program's code is in the page, already compiling (shell.html): it is only instantiated
// here, so that nothing is fetched (the page's policy forbids every connection).
Module['instantiateWasm'] = function(imports, done) {
  Promise.all([tarvoStart.program, tarvoStart.fonts]).then(function(ready) {
    return WebAssembly.instantiate(ready[0], imports).then(function(instance) {
      done(instance, ready[0]);
    });
  });
  return {};
};
