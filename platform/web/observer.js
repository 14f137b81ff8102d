// Runs in an isolated world of every document of a WebBrowser. Reports, as the exact text the
// page used, each navigation that is a command for the client: an app: address, or any address
// that carries one ("app://" anywhere). It is held back here, so the page never leaves before the
// client has judged it by the origin of the document that asked. Also reports each frame's load.
// Frames report through the top document, which alone has the channel to the client; the origin
// of a frame's report is the browser's own, so no frame can speak for another. The top document
// also tells when its viewport changed (the zoom is one reason).
(function () {
    'use strict';
    var NONCE = '@NONCE@';
    var isTop = window === window.top;
    var bridge = null;
    var queue = [];

    function deliver(fn, args) {
        if (bridge) {
            bridge[fn].apply(bridge, args);
        } else {
            queue.push([fn, args]);
        }
    }

    function send(fn, args) {
        if (isTop) {
            deliver(fn, args);
        } else {
            window.top.postMessage({ vantorObserver: NONCE, fn: fn, args: args }, '*');
        }
    }

    if (isTop) {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.vantorBrowser;
            queue.forEach(function (item) { bridge[item[0]].apply(bridge, item[1]); });
            queue = [];
        });
        window.addEventListener('message', function (event) {
            var data = event.data;
            if (!data || data.vantorObserver !== NONCE || !Array.isArray(data.args)) {
                return;
            }
            if (data.fn === 'navigate') {
                deliver('navigate', [String(data.args[0]), event.origin, false]);
            } else if (data.fn === 'complete') {
                deliver('complete', [String(data.args[0])]);
            }
        });
        window.addEventListener('resize', function () { deliver('resized', []); });
    }

    function carriesCommand(url) {
        return url.lastIndexOf('app:', 0) === 0 || url.indexOf('app://') !== -1;
    }

    if (window.navigation) {
        window.navigation.addEventListener('navigate', function (event) {
            var url = event.destination.url;
            if (carriesCommand(url) && event.cancelable) {
                event.preventDefault();
                send('navigate', [url, location.origin, isTop]);
            }
        });
    }

    if (!isTop) {
        window.addEventListener('load', function () { send('complete', [location.href]); });
    }
})();
