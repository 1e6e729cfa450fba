// Lentoria page agent: injected into every frame of the lesson view.
//
// The top frame's agent opens the web channel to the program ("mvxBridge") and does the DOM
// work the program asks for on the documents of all frames (they share the file origin).
// Every event handler posts its event to the top agent, which forwards it to the program,
// queueing posts until the channel is open. Default actions that must be cancelled at once
// (text selection, the context menu, the four function keys) are cancelled here.
(function () {
    'use strict';
    if (window.__mvxAgent) {
        return;
    }
    var agent = { queue: [], bridge: null, state: { selectingByProgram: false } };
    window.__mvxAgent = agent;
    var isTop = (window === window.top);

    function topAgent() {
        try {
            return window.top.__mvxAgent || null;
        } catch (e) {
            return null;
        }
    }

    // Posts one event object to the program, through the top frame.
    agent.post = function (ev) {
        var t = topAgent();
        if (t) {
            t.deliver(ev);
        }
    };

    agent.deliver = function (ev) {
        if (agent.bridge) {
            agent.bridge.post(ev);
        } else {
            agent.queue.push(ev);
        }
    };

    // ---- frames and elements ---------------------------------------------------------------
    function frameName(win) {
        try {
            if (win === win.top) {
                return '';
            }
            if (win.frameElement && win.frameElement.name) {
                return win.frameElement.name;
            }
            return win.name || '';
        } catch (e) {
            return '';
        }
    }

    function findWindow(win, name) {
        var i;
        for (i = 0; i < win.frames.length; ++i) {
            var f = win.frames[i];
            if (frameName(f) === name) {
                return f;
            }
        }
        for (i = 0; i < win.frames.length; ++i) {
            var found = findWindow(win.frames[i], name);
            if (found) {
                return found;
            }
        }
        return null;
    }

    agent.win = function (name) {
        if (!name) {
            return window.top;
        }
        return findWindow(window.top, name);
    };

    agent.doc = function (name) {
        var w = agent.win(name);
        try {
            return w ? w.document : null;
        } catch (e) {
            return null;
        }
    };

    agent.el = function (name, id) {
        var d = agent.doc(name);
        return d ? d.getElementById(id) : null;
    };

    // The offset of a frame's viewport inside the top viewport, in CSS pixels.
    function frameOffset(win) {
        var x = 0;
        var y = 0;
        try {
            while (win && win !== win.top && win.frameElement) {
                var r = win.frameElement.getBoundingClientRect();
                x += r.left + (win.frameElement.clientLeft || 0);
                y += r.top + (win.frameElement.clientTop || 0);
                win = win.parent;
            }
        } catch (e) {
        }
        return { x: x, y: y };
    }

    // The element a mouse event is about: the nearest word anchor or sentence label.
    function sourceOf(target) {
        var n = target;
        while (n && n.nodeType !== 1) {
            n = n.parentNode;
        }
        var start = n;
        while (n && n.tagName) {
            if (n.tagName === 'A' || (n.tagName === 'LABEL' && n.id)) {
                return n;
            }
            if (n.tagName === 'BODY') {
                break;
            }
            n = n.parentNode;
        }
        return start;
    }

    function isCurSink(sink) {
        return sink === 'ECurSentenceHtmlEventHandler' || sink === 'CCurSentenceHtmlEventHandler';
    }

    // One handler per (sink, frame): reads the DOM event, cancels what must be cancelled and
    // posts the event. Function keys F3, F5, F11, F12 are always swallowed here.
    function makeHandler(sink, fname) {
        return function (e) {
            var type = e.type;
            if (type === 'selectstart') {
                if (!agent.top().state.selectingByProgram || isCurSink(sink)) {
                    e.preventDefault();
                }
            } else if (type === 'contextmenu') {
                e.preventDefault();
            } else if (type === 'keydown') {
                var k = e.keyCode;
                if (k === 114 || k === 116 || k === 122 || k === 123) {
                    e.preventDefault();
                }
            }
            // The engine sends a second mouse-down for a double click (its detail counts the
            // clicks); the player acts on the first only, and on the double click itself.
            if (type === 'mousedown' && e.detail >= 2) {
                return;
            }
            var src = sourceOf(e.target);
            var win = (src && src.ownerDocument) ? src.ownerDocument.defaultView : null;
            var ev = {
                sink: sink, type: type, frame: fname,
                srcId: (src && src.id) || '', srcTag: (src && src.tagName) || '',
                srcName: (src && src.getAttribute && src.getAttribute('name')) || '',
                parentId: (src && src.parentNode && src.parentNode.id) || '',
                text: '', button: 0,
                ctrl: !!e.ctrlKey, alt: !!e.altKey, shift: !!e.shiftKey,
                keyCode: e.keyCode || 0, x: 0, y: 0, w: 0, h: 0
            };
            if (type === 'mousedown' || type === 'dblclick') {
                // 1 = left, 2 = right, 4 = middle, as the player's handlers count them.
                ev.button = e.button === 0 ? 1 : (e.button === 2 ? 2 : 4);
            }
            if (src && src.tagName === 'A') {
                ev.text = src.textContent || '';
                var r = src.getBoundingClientRect();
                var off = frameOffset(win);
                ev.x = r.left + off.x;
                ev.y = r.top + off.y;
                ev.w = r.width;
                ev.h = r.height;
            }
            agent.post(ev);
        };
    }

    agent.top = function () {
        return topAgent() || agent;
    };

    // ---- binding -----------------------------------------------------------------------------
    var handlers = {};
    function handlerFor(sink, fname) {
        var key = sink + '|' + fname;
        if (!handlers[key]) {
            handlers[key] = makeHandler(sink, fname);
        }
        return handlers[key];
    }

    // Hooks the labels whose id begins with prefix: hand cursor, mouse-down and double-click
    // handlers. Returns the numbers found (id after the prefix), in document order.
    // With h null the labels are only counted. filled (optional) receives the numbers of the
    // labels that hold text.
    function hookLabels(doc, prefix, h, withDblClick, filled) {
        var nums = [];
        var labels = doc.getElementsByTagName('LABEL');
        for (var i = 0; i < labels.length; ++i) {
            var l = labels[i];
            if (l.id && l.id.indexOf(prefix) === 0) {
                if (h) {
                    l.style.cursor = 'pointer';
                    l.onmousedown = h;
                    l.ondblclick = withDblClick ? h : null;
                }
                // The number after the id's letters: "ste12", "stz3", "No5".
                var n = parseInt(l.id.replace(/^[^0-9]+/, ''), 10);
                if (!isNaN(n)) {
                    nums.push(n);
                    if (filled && l.textContent.replace(/\s+/g, '') !== '') {
                        filled.push(n);
                    }
                }
            }
        }
        return nums;
    }

    // steps: [{frame, sink, keydown, selectstart, contextmenu, labels, dblclick, count}], applied
    // in order (count: a label prefix only counted, never hooked) (a later step's document handlers replace an earlier one's on the same document).
    // Returns {frame: {found, labels: {prefix: [numbers]}}}.
    agent.bind = function (steps) {
        var result = {};
        for (var i = 0; i < steps.length; ++i) {
            var s = steps[i];
            var doc = agent.doc(s.frame);
            var entry = result[s.frame] || { found: !!doc, labels: {} };
            result[s.frame] = entry;
            if (!doc) {
                continue;
            }
            var h = handlerFor(s.sink, s.frame);
            if (s.keydown) {
                doc.onkeydown = h;
            }
            if (s.selectstart) {
                doc.onselectstart = h;
            }
            if (s.contextmenu) {
                doc.oncontextmenu = h;
            }
            if (s.labels) {
                var filled = [];
                entry.labels[s.labels] = hookLabels(doc, s.labels, h, s.dblclick !== false, filled);
                entry.filled = entry.filled || {};
                entry.filled[s.labels] = filled;
            }
            if (s.count) {
                entry.labels[s.count] = hookLabels(doc, s.count, null, false);
            }
        }
        return result;
    };

    // Hooks the mouse-down of the INPUT elements of a frame whose name is one of names to sink.
    // Returns how many were hooked.
    agent.hookInputs = function (fname, sink, names) {
        var doc = agent.doc(fname);
        if (!doc) {
            return 0;
        }
        var h = handlerFor(sink, fname);
        var inputs = doc.getElementsByTagName('INPUT');
        var hooked = 0;
        for (var i = 0; i < inputs.length; ++i) {
            if (names.indexOf(inputs[i].getAttribute('name')) >= 0) {
                inputs[i].onmousedown = h;
                ++hooked;
            }
        }
        return hooked;
    };

    // For k = 0 ... n - 1: the value of the last checked input named "radio" + k in page
    // order, or "NoAnswer" when none is checked.
    agent.radioAnswers = function (fname, n) {
        var out = [];
        var doc = agent.doc(fname);
        for (var k = 0; k < n; ++k) {
            var answer = 'NoAnswer';
            var group = doc ? doc.getElementsByName('radio' + k) : [];
            for (var i = 0; i < group.length; ++i) {
                if (group[i].checked) {
                    answer = group[i].value;
                }
            }
            out.push(answer);
        }
        return out;
    };

    agent.setState = function (st) {
        for (var k in st) {
            agent.state[k] = st[k];
        }
        return true;
    };

    // ---- styling -----------------------------------------------------------------------------
    function applyStyle(el, props) {
        for (var k in props) {
            el.style[k] = props[k];
        }
    }

    agent.style = function (fname, id, props) {
        var el = agent.el(fname, id);
        if (!el) {
            return false;
        }
        applyStyle(el, props);
        return true;
    };

    // Styles the children of a label that carry the given inline property ("color" for key
    // words, "textDecoration" for new words).
    agent.styleChildren = function (fname, id, marker, props) {
        var el = agent.el(fname, id);
        if (!el) {
            return 0;
        }
        var n = 0;
        for (var i = 0; i < el.children.length; ++i) {
            var c = el.children[i];
            var v = c.style[marker];
            if (marker === 'textDecoration' && !v) {
                v = c.style.textDecorationLine;
            }
            if (v) {
                applyStyle(c, props);
                ++n;
            }
        }
        return n;
    };

    // Applies several operations in one call: [[op, args...], ...].
    agent.batch = function (ops) {
        var out = [];
        for (var i = 0; i < ops.length; ++i) {
            var op = ops[i];
            out.push(agent[op[0]].apply(agent, op.slice(1)));
        }
        return out;
    };

    // Styles every label whose id begins with prefix.
    agent.styleLabels = function (fname, prefix, props) {
        var doc = agent.doc(fname);
        if (!doc) {
            return 0;
        }
        var n = 0;
        var labels = doc.getElementsByTagName('LABEL');
        for (var i = 0; i < labels.length; ++i) {
            if (labels[i].id && labels[i].id.indexOf(prefix) === 0) {
                applyStyle(labels[i], props);
                ++n;
            }
        }
        return n;
    };

    agent.docStyle = function (fname, bgColor, bgImage) {
        var doc = agent.doc(fname);
        if (!doc || !doc.body) {
            return false;
        }
        if (bgColor !== null && bgColor !== undefined) {
            doc.body.style.backgroundColor = bgColor;
        }
        if (bgImage !== null && bgImage !== undefined) {
            doc.body.style.backgroundImage = bgImage ? 'url("' + bgImage + '")' : 'none';
        }
        return true;
    };

    // Replaces the frame body's markup and hooks its labels (current-sentence pages).
    agent.setBody = function (fname, html, hooks) {
        var doc = agent.doc(fname);
        if (!doc || !doc.body) {
            return false;
        }
        doc.body.innerHTML = html;
        for (var i = 0; hooks && i < hooks.length; ++i) {
            var k = hooks[i];
            hookLabels(doc, k.labels, handlerFor(k.sink, fname), k.dblclick !== false);
        }
        return true;
    };

    // ---- comment patches ---------------------------------------------------------------------
    // Replaces an element's inner markup; false when it is missing.
    agent.setInner = function (fname, id, html) {
        var el = agent.el(fname, id);
        if (!el) {
            return false;
        }
        el.innerHTML = html;
        return true;
    };

    // Inserts a line break with the given id right after an element, unless one is there.
    agent.insertBreakAfter = function (fname, id, newId) {
        var el = agent.el(fname, id);
        if (!el || el.ownerDocument.getElementById(newId)) {
            return false;
        }
        var br = el.ownerDocument.createElement('br');
        br.id = newId;
        el.parentNode.insertBefore(br, el.nextSibling);
        return true;
    };

    agent.removeElement = function (fname, id) {
        var el = agent.el(fname, id);
        if (!el) {
            return false;
        }
        el.parentNode.removeChild(el);
        return true;
    };

    // The element's text, null when it is missing.
    agent.text = function (fname, id) {
        var el = agent.el(fname, id);
        return el ? (el.textContent || '') : null;
    };

    // ---- reading -----------------------------------------------------------------------------
    // Where an element lies in the visible part of its page: 0 above, 1 fully visible,
    // 2 lower part cut, 3 upper part cut, 4 both ends cut, 5 below; -1 when missing.
    agent.classify = function (fname, id) {
        var el = agent.el(fname, id);
        if (!el) {
            return -1;
        }
        var p = el.offsetParent;
        var container;
        var top;
        var height;
        if (p && p.tagName === 'TD') {
            container = p.offsetParent ? p.offsetParent.offsetParent : null;
            top = p.offsetTop + (p.offsetParent ? p.offsetParent.offsetTop : 0);
            height = 2 * p.offsetHeight;
        } else {
            container = p;
            top = el.offsetTop;
            height = el.offsetHeight;
        }
        var doc = el.ownerDocument;
        var S;
        var H;
        if (!container || container === doc.body || container === doc.documentElement) {
            var se = doc.scrollingElement || doc.documentElement;
            S = se.scrollTop;
            H = se.clientHeight; // the visible part: a horizontal scroll bar not counted
        } else {
            S = container.scrollTop;
            H = container.clientHeight;
        }
        if (top >= S + H) {
            return 5;
        }
        if (top + height <= S) {
            return 0;
        }
        if (top < S && top + height > S + H) {
            return 4;
        }
        if (top < S) {
            return 3;
        }
        if (top + height <= S + H) {
            return 1;
        }
        return 2;
    };

    agent.scrollTo = function (fname, id, alignTop) {
        var el = agent.el(fname, id);
        if (!el) {
            return false;
        }
        var target = el;
        if (el.offsetParent && el.offsetParent !== el.ownerDocument.body) {
            target = el.offsetParent;
        }
        target.scrollIntoView(!!alignTop);
        return true;
    };

    // Classifies the element and scrolls it into view by the player's rule: 0 and 3 align to
    // the top, 1 leaves the page, 2, 4 and 5 align to the top while playing on, else bottom.
    // Returns the class before scrolling and whether it was scrolled to the top.
    agent.reveal = function (fname, id, playingOn) {
        var c = agent.classify(fname, id);
        var top = false;
        if (c === 0 || c === 3) {
            top = true;
            agent.scrollTo(fname, id, true);
        } else if (c === 2 || c === 4 || c === 5) {
            top = !!playingOn;
            agent.scrollTo(fname, id, top);
        }
        return { status: c, top: top };
    };

    agent.inlineStyle = function (fname, id, prop) {
        var el = agent.el(fname, id);
        return el ? (el.style[prop] || '') : null;
    };

    agent.computed = function (fname, id, prop) {
        var el = agent.el(fname, id);
        if (!el) {
            return null;
        }
        return el.ownerDocument.defaultView.getComputedStyle(el)[prop];
    };

    agent.html = function (fname, id) {
        var el = id ? agent.el(fname, id) : (agent.doc(fname) ? agent.doc(fname).body : null);
        return el ? el.innerHTML : null;
    };

    // The view-relative bounding rectangle of an element, in CSS pixels.
    agent.rect = function (fname, id) {
        var el = agent.el(fname, id);
        if (!el) {
            return null;
        }
        var r = el.getBoundingClientRect();
        var off = frameOffset(el.ownerDocument.defaultView);
        return { x: r.left + off.x, y: r.top + off.y, w: r.width, h: r.height };
    };

    // The frames present, with their document addresses.
    agent.frames = function () {
        var out = {};
        (function walk(win) {
            for (var i = 0; i < win.frames.length; ++i) {
                var f = win.frames[i];
                try {
                    out[frameName(f)] = f.location.href;
                } catch (e) {
                    out[frameName(f)] = '';
                }
                walk(f);
            }
        })(window.top);
        return out;
    };

    // ---- channel -----------------------------------------------------------------------------
    function openChannel(tries) {
        if (typeof qt !== 'undefined' && qt.webChannelTransport && typeof QWebChannel !== 'undefined') {
            new QWebChannel(qt.webChannelTransport, function (channel) {
                agent.bridge = channel.objects.mvxBridge;
                var q = agent.queue;
                agent.queue = [];
                for (var i = 0; i < q.length; ++i) {
                    agent.bridge.post(q[i]);
                }
                agent.bridge.agentReady(window.location.href);
            });
        } else if (tries < 200) {
            setTimeout(function () { openChannel(tries + 1); }, 5);
        }
    }
    if (isTop) {
        openChannel(0);
    }
})();
