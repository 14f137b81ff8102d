#pragma once

#include <QByteArray>

// A page that asks for what games use, the way a game does: a click or a key on its one big
// button runs the action named in window.next (a real user gesture, as the engine requires for
// fullscreen, the pointer and the clipboard). Every outcome is pushed onto window.results as
// text; a request that is never answered leaves nothing there.
inline QByteArray probePage()
{
    return R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>probe</title></head>
<body style="margin:0;background:#0b1a2e">
<button id="go" style="position:absolute;left:0;top:0;width:100%;height:100%;font-size:40px;
  background:#123;color:#dbe7f5;border:0">Vantor</button>
<script>
  window.results = [];
  window.moved = 0;
  window.keys = [];
  var say = function (text) { window.results.push(String(text)); };
  var failed = function (what) { return function (e) { say(what + ' ' + e.name); }; };
  var actions = {
    fullscreen: function () {
      document.documentElement.requestFullscreen().then(function () { say('fullscreen'); },
                                                        failed('fullscreen'));
    },
    exitFullscreen: function () { document.exitFullscreen(); },
    lock: function () { document.body.requestPointerLock(); },
    clipboard: function () {
      navigator.clipboard.writeText('INVITE-42').then(function () { say('copied'); },
                                                     failed('copy'));
    },
    paste: function () {
      navigator.clipboard.readText().then(function (t) { say('pasted ' + t); }, failed('paste'));
    },
    notify: function () {
      Notification.requestPermission().then(function (answer) {
        say('notifications ' + answer);
        if (answer === 'granted') {
          var shown = new Notification('组队邀请', { body: '玩家 阿星 邀请你加入队伍' });
          shown.onshow = function () { say('notification shown'); };
        }
      });
    },
    microphone: function () { media({ audio: true }, 'microphone'); },
    camera: function () { media({ video: true }, 'camera'); },
    screen: function () {
      navigator.mediaDevices.getDisplayMedia({ video: true }).then(function () { say('screen'); },
                                                                   failed('screen'));
    },
    exportSave: function () { fetchBy(URL.createObjectURL(new Blob(['level=7'])), '存档.txt'); },
    attachment: function () { fetchBy('/files/attachment', null); },
    location: function () {
      navigator.geolocation.getCurrentPosition(function () { say('location'); },
                                               function (e) { say('location ' + e.code); });
    }
  };
  // A link the page clicks itself, as games do for "export save": a download, named by the page
  // or left to the server.
  function fetchBy(address, name) {
    var link = document.createElement('a');
    link.href = address;
    if (name) { link.download = name; }
    document.body.appendChild(link);
    link.click();
    say('asked');
  }
  function media(what, name) {
    navigator.mediaDevices.getUserMedia(what).then(function (s) {
      say(name + ' ' + s.getTracks().length);
      s.getTracks().forEach(function (t) { t.stop(); });
    }, failed(name));
  }
  window.next = '';
  document.getElementById('go').onclick = function () {
    if (actions[window.next]) { actions[window.next](); }
  };
  document.addEventListener('pointerlockchange', function () {
    say(document.pointerLockElement ? 'locked' : 'unlocked');
  });
  document.addEventListener('pointerlockerror', function () { say('lock refused'); });
  document.addEventListener('mousemove', function (e) {
    if (document.pointerLockElement) { window.moved += e.movementX; }
  });
  // A game that uses a key itself keeps it: ?keep=F5 takes F5 for the page.
  var kept = new URLSearchParams(location.search).get('keep');
  document.addEventListener('keydown', function (e) {
    window.keys.push(e.key);
    if (e.key === kept) { e.preventDefault(); }
  });
</script></body></html>)";
}
