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

    // Masks the words of the labels prefix + from .. prefix + to for recall: every word span
    // ("wrd" + k, k from 1) turns grey on grey. Returns, per label, each word's flags (index
    // k - 1): 1 when it had a colour of its own (key word), + 2 when underlined (new word).
    agent.mask = function (fname, prefix, from, to, grey) {
        var out = [];
        for (var n = from; n <= to; ++n) {
            var words = [];
            var el = agent.el(fname, prefix + n);
            if (el) {
                for (var k = 1; k < el.children.length && k <= 500; ++k) {
                    var w = el.children[k];
                    if (w.id !== 'wrd' + k) {
                        break;
                    }
                    var deco = w.style.textDecoration || w.style.textDecorationLine || '';
                    words.push((w.style.color ? 1 : 0) + (deco.indexOf('underline') >= 0 ? 2 : 0));
                    w.style.color = grey;
                    w.style.backgroundColor = grey;
                }
            }
            out.push(words);
        }
        return out;
    };

    // Uncovers masked words, [[n, k, colour], ...]: the background goes, the colour becomes
    // the given one ("" = the page's own).
    agent.unmask = function (fname, prefix, words) {
        var done = 0;
        for (var i = 0; i < words.length; ++i) {
            var el = agent.el(fname, prefix + words[i][0]);
            var w = el && el.children[words[i][1]];
            if (w && w.id === 'wrd' + words[i][1]) {
                w.style.backgroundColor = '';
                w.style.color = words[i][2];
                ++done;
            }
        }
        return done;
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

    // The page's background colour and picture ("" = none), and its colour scheme ("dark" at
    // night, "" = the page's own); null leaves one as it is.
    agent.docStyle = function (fname, bgColor, bgImage, scheme) {
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
        if (scheme !== null && scheme !== undefined) {
            doc.documentElement.style.colorScheme = scheme;
        }
        return true;
    };

    // ---- looks taken back ----------------------------------------------------------------
    // Records, once, every element's style attribute of a frame (absent stays absent) and
    // every scroll offset, so that a trial look can be put back exactly.
    agent.looks = {};
    agent.saveLook = function (fname) {
        var doc = agent.doc(fname);
        if (!doc || (agent.looks[fname] && agent.looks[fname].doc === doc)) {
            return false;
        }
        var items = [];
        var scrolls = [];
        var all = doc.getElementsByTagName('*');
        for (var i = 0; i < all.length; ++i) {
            items.push([all[i], all[i].getAttribute('style')]);
            if (all[i].scrollTop || all[i].scrollLeft) {
                scrolls.push([all[i], all[i].scrollLeft, all[i].scrollTop]);
            }
        }
        agent.looks[fname] = {doc: doc, items: items, scrolls: scrolls};
        return true;
    };
    // Puts the recorded look back (keep false) or only forgets it (keep true).
    agent.restoreLook = function (fname, keep) {
        var look = agent.looks[fname];
        delete agent.looks[fname];
        if (!look || keep || agent.doc(fname) !== look.doc) {
            return false;
        }
        for (var i = 0; i < look.items.length; ++i) {
            var el = look.items[i][0];
            var v = look.items[i][1];
            if (v === null) {
                el.removeAttribute('style');
            } else if (el.getAttribute('style') !== v) {
                el.setAttribute('style', v);
            }
        }
        var all = look.doc.getElementsByTagName('*');
        for (var j = 0; j < all.length; ++j) {
            if (all[j].scrollTop || all[j].scrollLeft) {
                all[j].scrollTop = 0;
                all[j].scrollLeft = 0;
            }
        }
        for (var k = 0; k < look.scrolls.length; ++k) {
            look.scrolls[k][0].scrollLeft = look.scrolls[k][1];
            look.scrolls[k][0].scrollTop = look.scrolls[k][2];
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
        delete agent.top().ranges[fname]; // its text is gone
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

    // The frame's live document as a page of its own, for printing: the restyling (highlight,
    // marks, fonts) kept, scripts, the character-set declaration and the page background left out.
    agent.printable = function (fname) {
        var doc = agent.doc(fname);
        if (!doc || !doc.documentElement) {
            return null;
        }
        var root = doc.documentElement.cloneNode(true);
        var drop = root.querySelectorAll('script, meta[charset], meta[http-equiv]');
        for (var i = 0; i < drop.length; ++i) {
            drop[i].parentNode.removeChild(drop[i]);
        }
        var head = root.querySelector('head');
        if (head) {
            var meta = doc.createElement('meta');
            meta.setAttribute('charset', 'utf-8');
            head.insertBefore(meta, head.firstChild);
        }
        var body = root.querySelector('body');
        [root, body].forEach(function (el) {
            if (el) {
                el.removeAttribute('background');
                el.removeAttribute('bgcolor');
                el.style.backgroundImage = 'none';
                el.style.backgroundColor = 'transparent';
            }
        });
        return '<!DOCTYPE html>\n' + root.outerHTML;
    };

    // ---- finding text ------------------------------------------------------------------------
    // A frame's body text in document order, across anchors and labels: every run of white
    // space, and every line or block break, becomes one blank. at[i] is the DOM position of
    // character i of text; lower is text folded to lower case character by character.
    var BREAKS = { BR: 1, P: 1, DIV: 1, TR: 1, TD: 1, TABLE: 1, LI: 1, H1: 1, H2: 1, H3: 1 };
    function flatten(doc) {
        var text = [];
        var at = [];
        var blank = true;
        function addBlank(node, offset) {
            if (!blank) {
                text.push(' ');
                at.push([node, offset]);
                blank = true;
            }
        }
        (function walk(node) {
            for (var c = node.firstChild; c; c = c.nextSibling) {
                if (c.nodeType === 3) {
                    var v = c.nodeValue;
                    for (var i = 0; i < v.length; ++i) {
                        var ch = v.charAt(i);
                        if (/\s/.test(ch)) {
                            addBlank(c, i);
                        } else {
                            text.push(ch);
                            at.push([c, i]);
                            blank = false;
                        }
                    }
                } else if (c.nodeType === 1) {
                    var tag = c.tagName;
                    if (tag === 'SCRIPT' || tag === 'STYLE' || c.hidden || (c.style && c.style.display === 'none')) {
                        continue;
                    }
                    if (BREAKS[tag]) {
                        addBlank(c, 0);
                    }
                    walk(c);
                    if (BREAKS[tag] && tag !== 'BR') {
                        addBlank(c, 0);
                    }
                }
            }
        })(doc.body);
        var lower = [];
        for (var k = 0; k < text.length; ++k) {
            var l = text[k].toLowerCase();
            lower.push(l.length === 1 ? l : text[k]);
        }
        return { text: text.join(''), lower: lower.join(''), at: at, pos: 0 };
    }

    function isCjk(ch) {
        return /[\u3040-\u30ff\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\uac00-\ud7af]/.test(ch);
    }
    var WORD_CHAR = /[\p{L}\p{N}]/u;
    function isWordChar(ch) {
        return !!ch && WORD_CHAR.test(ch) && !isCjk(ch);
    }

    function findFrom(r, q, from, whole) {
        var i = r.lower.indexOf(q, from);
        while (i >= 0 && whole && (isWordChar(r.lower.charAt(i - 1)) || isWordChar(r.lower.charAt(i + q.length)))) {
            i = r.lower.indexOf(q, i + 1);
        }
        return i;
    }

    // Scrolls the nearest scrolling box (or the frame) so that the rectangle is in view.
    function scrollIntoViewRect(range) {
        var rect = range.getBoundingClientRect();
        var node = range.startContainer;
        var el = node.nodeType === 1 ? node : node.parentNode;
        var doc = el.ownerDocument;
        var win = doc.defaultView;
        for (var p = el; p && p !== doc.body && p !== doc.documentElement; p = p.parentNode) {
            var ov = win.getComputedStyle(p).overflowY;
            if ((ov === 'auto' || ov === 'scroll') && p.scrollHeight > p.clientHeight) {
                var box = p.getBoundingClientRect();
                if (rect.top < box.top || rect.bottom > box.bottom) {
                    p.scrollTop += rect.top - box.top - p.clientHeight / 3;
                }
                return;
            }
        }
        if (rect.top < 0 || rect.bottom > win.innerHeight) {
            win.scrollBy(0, rect.top - win.innerHeight / 3);
        }
    }

    agent.ranges = {};
    // Finds text (a JSON argument, searched literally, case ignored) forward from the frame's
    // range, wrapping to the top once; selects and shows the match, then moves the range's start
    // one character on. Returns { found, wrapped }.
    agent.search = function (fname, text, whole) {
        var self = agent.top();
        var doc = agent.doc(fname);
        if (!doc || !doc.body) {
            return { found: false, error: 'no page' };
        }
        var r = self.ranges[fname];
        if (!r || r.doc !== doc || (r.at.length && !r.at[0][0].isConnected)) {
            r = flatten(doc);
            r.doc = doc;
            self.ranges[fname] = r;
        }
        var q = String(text).replace(/\s+/g, ' ');
        var ql = [];
        for (var k = 0; k < q.length; ++k) {
            var l = q.charAt(k).toLowerCase();
            ql.push(l.length === 1 ? l : q.charAt(k));
        }
        q = ql.join('');
        if (!q.length) {
            return { found: false };
        }
        var wrapped = false;
        var i = findFrom(r, q, r.pos, !!whole);
        if (i < 0) {
            wrapped = true;
            i = findFrom(r, q, 0, !!whole);
        }
        if (i < 0) {
            return { found: false };
        }
        var first = r.at[i];
        var last = r.at[i + q.length - 1];
        var range = doc.createRange();
        range.setStart(first[0], first[0].nodeType === 3 ? first[1] : 0);
        if (last[0].nodeType === 3) {
            range.setEnd(last[0], last[1] + 1);
        } else {
            range.setEndBefore(last[0]);
        }
        self.state.selectingByProgram = true;
        try {
            var sel = doc.defaultView.getSelection();
            sel.removeAllRanges();
            sel.addRange(range);
        } finally {
            self.state.selectingByProgram = false;
        }
        scrollIntoViewRect(range);
        r.pos = i + 1;
        return { found: true, wrapped: wrapped, selected: String(doc.defaultView.getSelection()) };
    };

    agent.dropRanges = function () {
        agent.top().ranges = {};
        return true;
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
