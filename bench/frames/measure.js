// Frame intervals of requestAnimationFrame for 10 s after 2 s of warm-up, reported to the
// benchmark's server: median and 95th percentile in ms, frames over 20 ms, frames in all.
function measureFrames(draw, webgl) {
  var intervals = [], last = 0, start = performance.now();
  function report() {
    intervals.sort(function (a, b) { return a - b; });
    var at = function (q) { return intervals[Math.floor((intervals.length - 1) * q)] || 0; };
    var over = intervals.filter(function (ms) { return ms > 20; }).length;
    fetch('/bench/frames?median=' + at(0.5).toFixed(2) + '&p95=' + at(0.95).toFixed(2) +
          '&over20=' + over + '&frames=' + intervals.length + '&webgl=' + (webgl ? 1 : 0));
  }
  function tick(now) {
    if (last && now - start > 2000) { intervals.push(now - last); }
    last = now;
    if (now - start < 12000) { draw(now); requestAnimationFrame(tick); } else { report(); }
  }
  requestAnimationFrame(tick);
}
addEventListener('load', function () { fetch('/bench/loaded?' + Date.now()); });
