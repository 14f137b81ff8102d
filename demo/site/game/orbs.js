// Click-the-orbs: orbs appear, shrink and vanish; clicking one scores, letting one vanish costs a
// life. The document title carries the score so the client can show it in its tab strip.
(function () {
    "use strict";

    var canvas = document.getElementById("board");
    var context = canvas.getContext("2d");
    var StartLives = 3;
    var GoldChance = 0.12;

    // A fixed ?seed=N gives the same orbs every run, which automated clicks can rely on.
    function seededRandom(seed) {
        var state = seed >>> 0;
        return function () {
            state = (state + 0x6d2b79f5) >>> 0;
            var t = state;
            t = Math.imul(t ^ (t >>> 15), t | 1);
            t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
            return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
        };
    }

    var seedParam = new URLSearchParams(location.search).get("seed");
    var random = seededRandom(seedParam !== null ? Number(seedParam) : Date.now());

    var game = { score: 0, lives: StartLives, running: false, over: false, orbs: [], bursts: [], nextSpawn: 0 };
    // The keyboard's aim: arrow keys move it, Space or Enter clicks there.
    var aim = { x: canvas.width / 2, y: canvas.height / 2, keys: 0 };
    var AimStep = 24;

    // The board takes the room the window leaves beside the side panel.
    function fitBoard() {
        var side = document.querySelector(".side");
        var header = document.querySelector(".masthead");
        var width = window.innerWidth - (side ? side.offsetWidth : 0) - 90;
        var height = window.innerHeight - (header ? header.offsetHeight : 0) - 60;
        canvas.width = Math.max(320, Math.floor(width));
        canvas.height = Math.max(240, Math.floor(height));
        aim.x = Math.min(aim.x, canvas.width);
        aim.y = Math.min(aim.y, canvas.height);
    }

    function showScore() {
        document.title = "Vantor - 得分 " + game.score;
    }

    function lifetimeMs() {
        return Math.max(1100, 2800 - game.score * 30);
    }

    function spawnGapMs() {
        return Math.max(380, 900 - game.score * 12);
    }

    function spawnOrb(now) {
        var radius = 30;
        game.orbs.push({
            x: radius + random() * (canvas.width - 2 * radius),
            y: radius + 40 + random() * (canvas.height - 2 * radius - 40),
            maxRadius: radius,
            born: now,
            gold: random() < GoldChance
        });
    }

    function radiusAt(orb, now) {
        return orb.maxRadius * (1 - (now - orb.born) / lifetimeMs());
    }

    function start(now) {
        game.score = 0;
        game.lives = StartLives;
        game.orbs = [];
        game.bursts = [];
        game.running = true;
        game.over = false;
        game.nextSpawn = now;
        showScore();
    }

    function expireOrbs(now) {
        var alive = [];
        game.orbs.forEach(function (orb) {
            if (radiusAt(orb, now) > 0) {
                alive.push(orb);
            } else {
                game.lives -= 1;
            }
        });
        game.orbs = alive;
        if (game.lives <= 0) {
            game.running = false;
            game.over = true;
        }
    }

    function update(now) {
        if (!game.running) {
            return;
        }
        if (now >= game.nextSpawn) {
            spawnOrb(now);
            game.nextSpawn = now + spawnGapMs();
        }
        expireOrbs(now);
        game.bursts = game.bursts.filter(function (burst) { return now - burst.born < 400; });
    }

    function drawOrb(orb, now) {
        var r = radiusAt(orb, now);
        var glow = context.createRadialGradient(orb.x - r / 3, orb.y - r / 3, r / 6, orb.x, orb.y, r);
        glow.addColorStop(0, orb.gold ? "#fff4c2" : "#c8dcff");
        glow.addColorStop(1, orb.gold ? "#c8902c" : "#2f5fc4");
        context.beginPath();
        context.arc(orb.x, orb.y, r, 0, Math.PI * 2);
        context.fillStyle = glow;
        context.fill();
    }

    function drawBurst(burst, now) {
        var age = (now - burst.born) / 400;
        context.beginPath();
        context.arc(burst.x, burst.y, 12 + age * 30, 0, Math.PI * 2);
        context.strokeStyle = "rgba(245, 217, 139, " + (1 - age) + ")";
        context.lineWidth = 3;
        context.stroke();
    }

    function drawAim() {
        context.beginPath();
        context.arc(aim.x, aim.y, 14, 0, Math.PI * 2);
        context.moveTo(aim.x - 20, aim.y);
        context.lineTo(aim.x + 20, aim.y);
        context.moveTo(aim.x, aim.y - 20);
        context.lineTo(aim.x, aim.y + 20);
        context.strokeStyle = "rgba(245, 217, 139, 0.8)";
        context.lineWidth = 1.5;
        context.stroke();
    }

    function drawHud() {
        context.fillStyle = "#f5d98b";
        context.font = "bold 18px 'Microsoft YaHei', 'Noto Sans CJK SC', sans-serif";
        context.textAlign = "left";
        context.fillText("得分 " + game.score, 14, 28);
        context.textAlign = "right";
        context.fillText("生命 " + "♥".repeat(Math.max(game.lives, 0)), canvas.width - 14, 28);
    }

    function drawBanner(text) {
        context.fillStyle = "rgba(5, 11, 28, 0.75)";
        context.fillRect(0, canvas.height / 2 - 40, canvas.width, 80);
        context.fillStyle = "#f5d98b";
        context.font = "bold 24px 'Microsoft YaHei', 'Noto Sans CJK SC', sans-serif";
        context.textAlign = "center";
        context.fillText(text, canvas.width / 2, canvas.height / 2 + 8);
    }

    function draw(now) {
        context.clearRect(0, 0, canvas.width, canvas.height);
        game.orbs.forEach(function (orb) { drawOrb(orb, now); });
        game.bursts.forEach(function (burst) { drawBurst(burst, now); });
        drawAim();
        drawHud();
        if (game.over) {
            drawBanner("游戏结束，得分 " + game.score + " · 点击重新开始");
        } else if (!game.running) {
            drawBanner("点击开始游戏");
        }
    }

    function frame(now) {
        update(now);
        draw(now);
        requestAnimationFrame(frame);
    }

    function hitOrb(x, y, now) {
        for (var i = game.orbs.length - 1; i >= 0; i -= 1) {
            var orb = game.orbs[i];
            var r = radiusAt(orb, now);
            if ((x - orb.x) * (x - orb.x) + (y - orb.y) * (y - orb.y) <= r * r) {
                return i;
            }
        }
        return -1;
    }

    function clickAt(x, y) {
        var now = performance.now();
        if (!game.running) {
            start(now);
            return;
        }
        var index = hitOrb(x, y, now);
        if (index < 0) {
            return;
        }
        var orb = game.orbs.splice(index, 1)[0];
        game.score += orb.gold ? 3 : 1;
        game.bursts.push({ x: orb.x, y: orb.y, born: now });
        showScore();
    }

    canvas.addEventListener("mousedown", function (event) {
        var box = canvas.getBoundingClientRect();
        clickAt(event.clientX - box.left, event.clientY - box.top);
    });

    var arrows = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    document.addEventListener("keydown", function (event) {
        var step = arrows[event.key];
        if (step) {
            aim.x = Math.min(canvas.width, Math.max(0, aim.x + step[0] * AimStep));
            aim.y = Math.min(canvas.height, Math.max(0, aim.y + step[1] * AimStep));
            aim.keys += 1;
            event.preventDefault();
        } else if (event.key === " " || event.key === "Enter") {
            clickAt(aim.x, aim.y);
            event.preventDefault();
        }
    });
    window.addEventListener("resize", fitBoard);

    // For automated runs: where the orbs are now (page coordinates of the canvas) and the state.
    window.vantorOrbs = {
        state: function () {
            var now = performance.now();
            var box = canvas.getBoundingClientRect();
            return {
                score: game.score,
                aim: { x: aim.x, y: aim.y, keys: aim.keys },
                lives: game.lives,
                running: game.running,
                over: game.over,
                orbs: game.orbs.map(function (orb) {
                    return { x: box.left + orb.x, y: box.top + orb.y, radius: radiusAt(orb, now), gold: orb.gold };
                })
            };
        },
        clickAt: clickAt
    };

    fitBoard();
    showScore();
    requestAnimationFrame(frame);
})();
