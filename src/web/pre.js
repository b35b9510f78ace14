// The program's code is in the page (shell.html): it is only instantiated here, so that nothing
// is fetched (the page's policy forbids every connection). When the code and the faces were
// ready at once, the program starts now, synchronously, before the page's first frame.
Module['instantiateWasm'] = function(imports, done) {
  var ready = tarvoStart.module;
  if (ready) {
    var instance = new WebAssembly.Instance(ready, imports);
    done(instance, ready);
    return instance.exports;
  }
  Promise.all([tarvoStart.program, tarvoStart.fonts]).then(function(both) {
    return WebAssembly.instantiate(both[0], imports).then(function(instance) {
      done(instance, both[0]);
    });
  });
  return {};
};
