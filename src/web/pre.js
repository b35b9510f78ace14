// The program's code is in the page (shell.html): it is only instantiated here, so that nothing
// is fetched (the page's policy forbids every connection). When the code and the faces were
// ready at once, the program starts now, synchronously, before the page's first frame.
Module['instantiateWasm'] = function(imports, done) {
  var ready = tarvoStart.module;
  if (ready) {
    var instance;
    try {
      instance = new WebAssembly.Instance(ready, imports);
    } catch (e) {
      // WebKit compiles but will not instantiate where a policy forbids it.
      tarvoCannot();
      return {};
    }
    done(instance, ready);
    return instance.exports;
  }
  if (!tarvoStart.program) return {}; // the page has said that it cannot start
  Promise.all([tarvoStart.program, tarvoStart.fonts]).then(function(both) {
    return WebAssembly.instantiate(both[0], imports).then(function(instance) {
      done(instance, both[0]);
    });
  }).catch(tarvoCannot);
  return {};
};
