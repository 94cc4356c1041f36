#include "expressions/Prelude.h"

namespace tlhost {

// The object model follows the host application's expression language where the
// plug-in's expressions and common hand-written ones touch it:
// - thisComp / comp(name): layer(name | index | layer, relIndex), numLayers, name,
//   width, height, frameDuration, duration;
// - layers: name, index, effect(name | match name | index), content(name | match
//   name | index), transform, position, rotation, orientation (3D layers only),
//   opacity, scale, anchorPoint, toWorld / toComp / fromWorld / fromComp (through the
//   layer's transform, model/Transform.h; the world is the composition);
// - effects are callable: fx(name | match name | index) gives the parameter;
// - properties: value, valueAtTime(t), name, matchName, numKeys, propertyIndex,
//   numProperties, property(), content(), propertyGroup(n), path, and valueOf(), so
//   that a property takes part in arithmetic and comparisons as its value; path
//   properties and path values: points(), inTangents(), outTangents(), isClosed(),
//   pointOnPath(p), tangentOnPath(p) (p is the fraction of the arc length);
// - the evaluated layer's attributes and methods are globals, as is `value`.
const char kPreludeSource[] = R"JS(function (N, G, step) {
'use strict';
// The evaluation under way: { time, comp, kind, self, me }; nested evaluations
// stack theirs on top.
var cur = null, outer = [];
var realEval = G.eval;
var instrument = N.instrument;
var defineProperty = Object.defineProperty;
var isArray = Array.isArray;

function fail(message) { throw new Error(message); }
function missing(what, k) {
    fail(typeof k === 'number' ? what + ' index ' + k + ' is out of range'
                               : what + " named '" + k + "' is missing");
}
function getter(target, name, read) {
    defineProperty(target, name, { get: read, configurable: true });
}
function finite(x, what) {
    x = Number(x);
    if (!isFinite(x)) fail(what + ' must be a finite number');
    return x;
}
function copyVector(v) {
    v = plain(v);
    return isArray(v) ? v.slice() : v;
}
// A property stands for its value wherever a value is expected.
function plain(x) {
    return (x instanceof Property || x instanceof Constant) ? x.value : x;
}
function keyOf(k) {
    k = plain(k);
    return typeof k === 'number' ? k : String(k);
}

// ---- Paths ------------------------------------------------------------------
var SAMPLES = 64;  // chords per Bezier segment when measuring arc length

function copyPairs(list) {
    var out = [];
    for (var i = 0; i < list.length; i++) out.push([list[i][0], list[i][1]]);
    return out;
}
function Shape(points, inTangents, outTangents, closed) {
    this._points = points;
    this._in = inTangents;
    this._out = outTangents;
    this._closed = !!closed;
    this._table = null;
}
Shape.prototype.points = function () { return copyPairs(this._points); };
Shape.prototype.inTangents = function () { return copyPairs(this._in); };
Shape.prototype.outTangents = function () { return copyPairs(this._out); };
Shape.prototype.isClosed = function () { return this._closed; };
Shape.prototype.pointOnPath = function (p) { return locate(this, p).point; };
Shape.prototype.tangentOnPath = function (p) { return locate(this, p).tangent; };

function pairOr0(list, i) {
    var p = list[i];
    return p ? [Number(p[0]) || 0, Number(p[1]) || 0] : [0, 0];
}
// Each segment as [x0, y0, x1, y1, x2, y2, x3, y3]: vertex, its outgoing handle,
// the next vertex's incoming handle, the next vertex (tangents are relative).
function segments(shape) {
    var pts = shape._points, n = pts.length, segs = [];
    var count = shape._closed ? n : n - 1;
    for (var i = 0; i < count; i++) {
        var j = (i + 1) % n;
        var a = pairOr0(pts, i), b = pairOr0(pts, j);
        var o = pairOr0(shape._out, i), q = pairOr0(shape._in, j);
        segs.push([a[0], a[1], a[0] + o[0], a[1] + o[1], b[0] + q[0], b[1] + q[1], b[0], b[1]]);
    }
    return segs;
}
function bezier(s, t, k) {
    var u = 1 - t;
    return u * u * u * s[k] + 3 * u * u * t * s[k + 2] + 3 * u * t * t * s[k + 4] +
           t * t * t * s[k + 6];
}
function lengthTable(shape) {
    if (shape._table) return shape._table;
    var segs = segments(shape), cum = [0], total = 0;
    for (var i = 0; i < segs.length; i++) {
        var s = segs[i], px = s[0], py = s[1];
        for (var k = 1; k <= SAMPLES; k++) {
            var x = bezier(s, k / SAMPLES, 0), y = bezier(s, k / SAMPLES, 1);
            total += Math.sqrt((x - px) * (x - px) + (y - py) * (y - py));
            cum.push(total);
            px = x;
            py = y;
        }
    }
    shape._table = { segs: segs, cum: cum, total: total };
    return shape._table;
}
// The point and unit tangent at fraction p (0 to 1) of the path's arc length.
function locate(shape, p) {
    p = p === undefined ? 0.5 : finite(p, 'The percentage');
    p = Math.min(1, Math.max(0, p));
    var table = lengthTable(shape), segs = table.segs, cum = table.cum;
    if (segs.length === 0) {
        var only = pairOr0(shape._points, 0);
        return { point: only, tangent: [1, 0] };
    }
    var target = p * table.total, lo = 0, hi = cum.length - 1;
    while (hi - lo > 1) {
        var mid = (lo + hi) >> 1;
        if (cum[mid] < target) lo = mid; else hi = mid;
    }
    // The point lies on the measured chord cum[lo]..cum[lo + 1], so that the arc
    // length is exact along it (and along straight segments, whatever their handles).
    var span = cum[hi] - cum[lo];
    var f = span > 0 ? (target - cum[lo]) / span : 0;
    var si = Math.floor(lo / SAMPLES), k = lo - si * SAMPLES, s = segs[si];
    var t = (k + f) / SAMPLES;
    var ax = bezier(s, k / SAMPLES, 0), ay = bezier(s, k / SAMPLES, 1);
    var bx = bezier(s, (k + 1) / SAMPLES, 0), by = bezier(s, (k + 1) / SAMPLES, 1);
    var u = 1 - t;
    var dx = 3 * u * u * (s[2] - s[0]) + 6 * u * t * (s[4] - s[2]) + 3 * t * t * (s[6] - s[4]);
    var dy = 3 * u * u * (s[3] - s[1]) + 6 * u * t * (s[5] - s[3]) + 3 * t * t * (s[7] - s[5]);
    if (dx * dx + dy * dy < 1e-18) {
        // A handle of zero length: the direction is the limit, taken from nearby points.
        var t0 = Math.max(0, t - 1e-3), t1 = Math.min(1, t + 1e-3);
        dx = bezier(s, t1, 0) - bezier(s, t0, 0);
        dy = bezier(s, t1, 1) - bezier(s, t0, 1);
    }
    var len = Math.sqrt(dx * dx + dy * dy);
    return { point: [ax + (bx - ax) * f, ay + (by - ay) * f],
             tangent: len > 0 ? [dx / len, dy / len] : [1, 0] };
}
function createPath(points, inTangents, outTangents, isClosed) {
    points = points === undefined ? [[0, 0], [100, 0], [100, 100], [0, 100]] : points;
    if (!isArray(points)) fail('createPath needs an array of points');
    var zeros = points.map(function () { return [0, 0]; });
    inTangents = isArray(inTangents) && inTangents.length ? inTangents : zeros;
    outTangents = isArray(outTangents) && outTangents.length ? outTangents : zeros;
    return new Shape(copyPairs(points), copyPairs(inTangents), copyPairs(outTangents),
                     isClosed === undefined ? true : !!isClosed);
}
function fromNative(v) {
    if (v !== null && typeof v === 'object' && !isArray(v)) {
        return new Shape(v.points, v.inTangents, v.outTangents, v.closed);
    }
    return v;
}

// ---- Properties -----------------------------------------------------------------
function Property(h) { this._h = h; this._info = null; }
function nodeInfo(p) { return p._info || (p._info = N.nodeInfo(p._h)); }
function child(h, k) {
    k = keyOf(k);
    var c = N.child(h, k);
    if (c < 0) missing('Property', k);
    return new Property(c);
}
function byMatch(h, matchNames, label) {
    for (var i = 0; i < matchNames.length; i++) {
        var c = N.childByMatch(h, matchNames[i]);
        if (c >= 0) return new Property(c);
    }
    fail("Property named '" + label + "' is missing");
}
function shapeAt(prop, t) {
    var v = prop.valueAtTime(t === undefined ? cur.time : t);
    if (!(v instanceof Shape)) fail("Property '" + prop.name + "' is not a path");
    return v;
}

var P = Property.prototype;
getter(P, 'value', function () { return this.valueAtTime(cur.time); });
P.valueAtTime = function (t) { return fromNative(N.value(this._h, finite(t, 'The time'))); };
getter(P, 'name', function () { return nodeInfo(this).name; });
getter(P, 'matchName', function () { return nodeInfo(this).matchName; });
getter(P, 'numKeys', function () { return nodeInfo(this).numKeys; });
getter(P, 'propertyIndex', function () { return nodeInfo(this).index; });
getter(P, 'numProperties', function () { return nodeInfo(this).numChildren; });
P.valueOf = function () { return this.value; };
P.toString = function () { return String(this.value); };
P.property = function (k) { return child(this._h, k); };
P.content = function (k) {
    var inner = N.childByMatch(this._h, 'ADBE Vectors Group');
    return child(inner >= 0 ? inner : this._h, k);
};
P.propertyGroup = function (n) {
    var h = this._h;
    for (n = n === undefined ? 1 : n; n > 0; n--) {
        h = N.nodeInfo(h).parent;
        if (h < 0) fail('The property has no group that far up');
    }
    return new Property(h);
};
// A property indexes into its value, as in position[1].
[0, 1, 2, 3].forEach(function (i) {
    getter(P, String(i), function () {
        var v = this.value;
        return isArray(v) ? v[i] : undefined;
    });
});
getter(P, 'path', function () { return byMatch(this._h, ['ADBE Vector Shape'], 'path'); });
getter(P, 'transform', function () {
    return byMatch(this._h, ['ADBE Transform Group', 'ADBE Vector Transform Group'], 'transform');
});
// Transform attributes, by the match names of layer and shape-group transforms.
var TRANSFORM = {
    anchorPoint: ['ADBE Anchor Point', 'ADBE Vector Anchor'],
    position: ['ADBE Position', 'ADBE Vector Position'],
    scale: ['ADBE Scale', 'ADBE Vector Scale'],
    rotation: ['ADBE Rotate Z', 'ADBE Rotation', 'ADBE Vector Rotation'],
    orientation: ['ADBE Orientation'],
    opacity: ['ADBE Opacity', 'ADBE Vector Group Opacity']
};
Object.keys(TRANSFORM).forEach(function (k) {
    getter(P, k, function () { return byMatch(this._h, TRANSFORM[k], k); });
});
['points', 'inTangents', 'outTangents', 'isClosed'].forEach(function (m) {
    P[m] = function (t) { return shapeAt(this, t)[m](); };
});
P.pointOnPath = function (p, t) { return shapeAt(this, t).pointOnPath(p); };
P.tangentOnPath = function (p, t) { return shapeAt(this, t).tangentOnPath(p); };
P.createPath = createPath;

// A property the stand-in does not store (a 3D layer's orientation when its tree
// has none): a constant value.
function Constant(name, value) { this._name = name; this._value = value; }
getter(Constant.prototype, 'value', function () { return this._value.slice(); });
getter(Constant.prototype, 'name', function () { return this._name; });
getter(Constant.prototype, 'numKeys', function () { return 0; });
Constant.prototype.valueAtTime = function () { return this._value.slice(); };
Constant.prototype.valueOf = function () { return this.value; };
Constant.prototype.toString = function () { return String(this._value); };

// ---- Layers, effects, compositions ------------------------------------------
function Layer(h) { this._h = h; this._info = null; }
function layerInfo(l) { return l._info || (l._info = N.layerInfo(l._h)); }
var L = Layer.prototype;
getter(L, 'name', function () { return layerInfo(this).name; });
getter(L, 'index', function () { return layerInfo(this).index; });
getter(L, 'numEffects', function () { return layerInfo(this).numEffects; });
L.effect = function (k) {
    k = keyOf(k);
    var h = N.layerEffect(this._h, k);
    if (h < 0) missing('Effect', k);
    return makeEffect(h);
};
L.content = function (k) {
    var c = N.childByMatch(layerInfo(this).root, 'ADBE Root Vectors Group');
    if (c < 0) fail("Layer '" + this.name + "' has no contents");
    return child(c, k);
};
getter(L, 'transform', function () {
    return byMatch(layerInfo(this).root, ['ADBE Transform Group'], 'transform');
});
Object.keys(TRANSFORM).forEach(function (k) {
    getter(L, k, function () { return this.transform[k]; });
});
// Only 3D layers have an orientation; scripts test for 3D by reading it.
getter(L, 'orientation', function () {
    if (!layerInfo(this).is3D) {
        fail("Property named 'orientation' is missing: layer '" + this.name + "' is not 3D");
    }
    var c = N.childByMatch(this.transform._h, 'ADBE Orientation');
    return c >= 0 ? new Property(c) : new Constant('Orientation', [0, 0, 0]);
});
// Layer space and composition space, through the layer's transform at time t (the
// composition is the world: the stand-in has no cameras or parents).
[['toWorld', false], ['toComp', false], ['fromWorld', true], ['fromComp', true]].forEach(
    function (row) {
        L[row[0]] = function (point, t) {
            return N.layerPoint(this._h, copyVector(point),
                                t === undefined ? cur.time : finite(t, 'The time'), row[1]);
        };
    });

function makeEffect(h) {
    var info = N.effectInfo(h);
    var fx = function (k) {
        k = keyOf(k);
        var p = N.effectParam(h, k);
        if (p < 0) missing('Property', k);
        return new Property(p);
    };
    defineProperty(fx, 'name', { value: info.name, configurable: true });
    fx.matchName = info.matchName;
    fx.numProperties = info.numParams;
    fx.active = true;
    fx.param = fx;
    return fx;
}

function Comp(h) { this._h = h; this._info = null; }
function compInfo(c) { return c._info || (c._info = N.compInfo(c._h)); }
var C = Comp.prototype;
C.layer = function (k, relative) {
    if (k instanceof Layer) k = k.index + (relative === undefined ? 0 : finite(relative, 'The offset'));
    k = keyOf(k);
    var h = N.compLayer(this._h, k);
    if (h < 0) missing('Layer', k);
    return new Layer(h);
};
['name', 'numLayers', 'width', 'height', 'frameDuration', 'duration'].forEach(function (k) {
    getter(C, k, function () { return compInfo(this)[k]; });
});

// ---- Vector arithmetic ------------------------------------------------------
function operand(x) {
    x = plain(x);
    return isArray(x) ? x.map(Number) : Number(x);
}
// Applies f per component; a missing component counts as 0.
function zip(a, b, f) {
    a = operand(a);
    b = operand(b);
    if (!isArray(a) && !isArray(b)) return f(a, b);
    var n = Math.max(isArray(a) ? a.length : 0, isArray(b) ? b.length : 0), out = [];
    for (var i = 0; i < n; i++) {
        out.push(f(isArray(a) ? (a[i] || 0) : a, isArray(b) ? (b[i] || 0) : b));
    }
    return out;
}
function vlength(a, b) {
    var d = b === undefined ? operand(a) : zip(a, b, function (x, y) { return x - y; });
    if (!isArray(d)) return Math.abs(d);
    var s = 0;
    for (var i = 0; i < d.length; i++) s += d[i] * d[i];
    return Math.sqrt(s);
}

// ---- Globals --------------------------------------------------------------------
// Every evaluation runs with a global object of its own, made afresh from these
// descriptors: the standard built-ins, the library below and the evaluated
// layer's attributes. What an expression declares or assigns globally stays on its
// own global object; the objects all evaluations share (built-ins, prototypes,
// library functions) are frozen once the prelude has set them up.
var LIB = {};
function lib(name, v) { LIB[name] = v; }

lib('valueAtTime', function (t) { return cur.self.valueAtTime(t); });
lib('createPath', createPath);
lib('comp', function (name) {
    var h = N.compByName(String(name));
    if (h < 0) missing('Composition', String(name));
    return new Comp(h);
});
lib('radiansToDegrees', function (r) { return Number(plain(r)) * 180 / Math.PI; });
lib('degreesToRadians', function (d) { return Number(plain(d)) * Math.PI / 180; });
lib('add', function (a, b) { return zip(a, b, function (x, y) { return x + y; }); });
lib('sub', function (a, b) { return zip(a, b, function (x, y) { return x - y; }); });
lib('mul', function (a, k) { return zip(a, Number(plain(k)), function (x, y) { return x * y; }); });
lib('div', function (a, k) { return zip(a, Number(plain(k)), function (x, y) { return x / y; }); });
lib('dot', function (a, b) {
    var p = zip(a, b, function (x, y) { return x * y; });
    return isArray(p) ? p.reduce(function (s, x) { return s + x; }, 0) : p;
});
lib('cross', function (a, b) {
    a = operand(a);
    b = operand(b);
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
});
lib('length', vlength);
lib('normalize', function (v) {
    var n = vlength(v);
    return zip(v, n, function (x, y) { return x / y; });
});
lib('clamp', function (v, a, b) {
    var lo = zip(a, b, Math.min), hi = zip(a, b, Math.max);
    return zip(zip(v, lo, Math.max), hi, Math.min);
});
lib('linear', function (t, tMin, tMax, v1, v2) {
    if (arguments.length <= 3) {
        v1 = tMin;
        v2 = tMax;
        tMin = 0;
        tMax = 1;
    }
    t = Number(plain(t));
    tMin = Number(plain(tMin));
    tMax = Number(plain(tMax));
    if (tMin > tMax) {
        var swap = tMin; tMin = tMax; tMax = swap;
        swap = v1; v1 = v2; v2 = swap;
    }
    var u = tMax === tMin ? (t >= tMax ? 1 : 0)
                          : Math.min(1, Math.max(0, (t - tMin) / (tMax - tMin)));
    return zip(v1, v2, function (x, y) { return x + (y - x) * u; });
});

// Code compiled at run time is rewritten like the expression itself, so that it
// too stays within the step allowance. eval runs in the global scope.
lib('eval', function (source) {
    return typeof source === 'string' ? realEval(instrument(source)) : source;
});
var functionPrototype = G.Function.prototype;
function SafeFunction() {
    var args = Array.prototype.slice.call(arguments);
    var body = args.length ? String(args.pop()) : '';
    return realEval(instrument('(function anonymous(' + args.join(',') + '\n) {\n' + body + '\n})'));
}
SafeFunction.prototype = functionPrototype;
defineProperty(functionPrototype, 'constructor',
               { value: SafeFunction, writable: true, configurable: true });
lib('Function', SafeFunction);

// Array methods walk `length` inside the engine, past the step hook: a sparse
// array or an array-like with a huge length would keep them busy without using
// memory. Lengths above a million are refused, so that one such walk stays well
// under a second; sorting, whose time grows faster than the length, is done here
// in steps that count like the expression's own.
var MAX_LENGTH = 1048576;
function guardLength(x) {
    if (x !== null && typeof x === 'object') {
        var n = x.length;
        if (typeof n === 'number' && n > MAX_LENGTH) {
            throw new RangeError('arrays longer than ' + MAX_LENGTH + ' are not supported');
        }
    }
}
var arrayPrototype = Array.prototype;
Object.getOwnPropertyNames(arrayPrototype).forEach(function (k) {
    var method = arrayPrototype[k];
    if (typeof method !== 'function' || k === 'constructor') return;
    defineProperty(arrayPrototype, k, {
        value: function () {
            guardLength(this);
            for (var i = 0; i < arguments.length; i++) guardLength(arguments[i]);
            return method.apply(this, arguments);
        },
        writable: true,
        configurable: true
    });
});
// A stable merge sort: undefined elements after the others, holes at the end.
function mergeSort(a, order) {
    var n = a.length, src = a, dst = new Array(n);
    for (var width = 1; width < n; width *= 2) {
        for (var lo = 0; lo < n; lo += 2 * width) {
            var mid = Math.min(lo + width, n), hi = Math.min(lo + 2 * width, n);
            var i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                step();
                dst[k++] = order(src[j], src[i]) < 0 ? src[j++] : src[i++];
            }
            while (i < mid) dst[k++] = src[i++];
            while (j < hi) dst[k++] = src[j++];
        }
        var t = src; src = dst; dst = t;
    }
    return src;
}
function textOrder(a, b) {
    var x = String(a), y = String(b);
    return x < y ? -1 : x > y ? 1 : 0;
}
defineProperty(arrayPrototype, 'sort', {
    value: function (compare) {
        if (compare !== undefined && typeof compare !== 'function') {
            throw new TypeError('the comparison is not a function');
        }
        guardLength(this);
        var o = Object(this), n = o.length >>> 0, items = [], undefs = 0, i;
        for (i = 0; i < n; i++) {
            step();
            if (!(i in o)) continue;
            if (o[i] === undefined) undefs++; else items.push(o[i]);
        }
        var order = compare === undefined ? textOrder : function (a, b) {
            var r = Number(compare(a, b));
            return r === r ? r : 0;
        };
        items = mergeSort(items, order);
        for (i = 0; i < items.length; i++) o[i] = items[i];
        for (var u = 0; u < undefs; u++) o[i++] = undefined;
        for (; i < n; i++) {
            step();
            delete o[i];
        }
        return o;
    },
    writable: true,
    configurable: true
});

// ---- The result -------------------------------------------------------------
var DIMENSIONS = { two_d: 2, three_d: 3, color: 4 };
function describe(r) {
    return r === null ? 'null' : isArray(r) ? String(r.length) : typeof r;
}
function resultNumber(r) {
    r = plain(r);
    if (typeof r === 'boolean') return r ? 1 : 0;
    if (r === undefined) fail('Expression result is undefined');
    if (typeof r !== 'number') fail('Expression result must be a number, not ' + describe(r));
    if (!isFinite(r)) fail('Expression result must be a finite number, not ' + r);
    return r;
}
function finish(r) {
    r = plain(r);
    var kind = cur.kind;
    if (kind === 'layer') {
        if (r instanceof Layer) return r._h;
        var index = resultNumber(r);
        if (index === 0) return -1;
        var h = cur.comp >= 0 ? N.compLayer(cur.comp, index) : -1;
        if (h < 0) missing('Layer', index);
        return h;
    }
    if (kind === 'path') {
        if (!(r instanceof Shape)) fail('Expression result must be a path, not ' + describe(r));
        var points = [], ins = [], outs = [];
        for (var i = 0; i < r._points.length; i++) {
            points.push(pairOr0(r._points, i));
            ins.push(pairOr0(r._in, i));
            outs.push(pairOr0(r._out, i));
        }
        return { points: points, inTangents: ins, outTangents: outs, closed: r._closed };
    }
    if (kind === 'one_d') {
        if (isArray(r)) fail('Expression result must be of dimension 1, not ' + r.length);
        return resultNumber(r);
    }
    var dims = DIMENSIONS[kind];
    if (dims === undefined) fail('This property has no value an expression can set');
    if (r === undefined) fail('Expression result is undefined');
    var least = kind === 'color' ? 3 : 2;
    if (!isArray(r) || r.length < least) {
        fail('Expression result must be of dimension ' + dims + ', not ' +
             (typeof r === 'number' || typeof r === 'boolean' ? '1' : describe(r)));
    }
    var out = [];
    for (i = 0; i < dims; i++) out.push(i < r.length ? resultNumber(r[i]) : (i === 3 ? 1 : 0));
    return out;
}

// ---- Evaluations ------------------------------------------------------------
// Every evaluation's global object is a new object whose prototype, BASE, holds
// the standard globals (without the engine's own object; globalThis is the
// evaluation's global object), the library and the evaluated layer's attributes.
// What an expression declares or assigns globally lands on its own global object.
// BASE itself is hidden from the expressions (the prototype readers never give
// it), and the objects all evaluations reach (built-ins, prototypes, library
// functions) are frozen.
var BASE = Object.create(Object.prototype);
Object.getOwnPropertyNames(G).forEach(function (k) {
    if (k === 'Duktape' || k === 'globalThis') return;
    var d = Object.getOwnPropertyDescriptor(G, k);
    d.enumerable = false;
    defineProperty(BASE, k, d);
});
Object.keys(LIB).forEach(function (k) {
    defineProperty(BASE, k, { value: LIB[k], writable: true, enumerable: false, configurable: true });
});
defineProperty(BASE, 'globalThis', {
    get: function () { return this; },
    set: function (v) {
        defineProperty(this, 'globalThis', { value: v, writable: true, configurable: true });
    },
    enumerable: false,
    configurable: true
});
function layerOf(k) {
    if (!cur.me) throw new ReferenceError("identifier '" + k + "' undefined");
    return cur.me;
}
// The evaluated layer's attributes are read afresh on every use; assigning to one
// makes it an ordinary variable of the evaluation. Its methods are globals too.
['name', 'index', 'transform', 'position', 'rotation', 'orientation', 'opacity', 'scale',
 'anchorPoint'].forEach(function (k) {
    defineProperty(BASE, k, {
        get: function () { return layerOf(k)[k]; },
        set: function (v) {
            defineProperty(this, k, { value: v, writable: true, enumerable: true, configurable: true });
        },
        enumerable: false,
        configurable: true
    });
});
['effect', 'content', 'toWorld', 'toComp', 'fromWorld', 'fromComp'].forEach(function (m) {
    defineProperty(BASE, m, {
        value: function () { var me = layerOf(m); return me[m].apply(me, arguments); },
        writable: true,
        enumerable: false,
        configurable: true
    });
});

// The prototype readers never give BASE: an evaluation's global object shows the
// plain object prototype.
function hiding(read) {
    return function (o) {
        var p = read(o);
        return p === BASE ? Object.prototype : p;
    };
}
var objectPrototype = Object.prototype;
var protoAccessor = Object.getOwnPropertyDescriptor(objectPrototype, '__proto__');
if (protoAccessor && protoAccessor.get) {
    var readProto = protoAccessor.get;
    protoAccessor.get = function () {
        var p = readProto.call(this);
        return p === BASE ? objectPrototype : p;
    };
    defineProperty(objectPrototype, '__proto__', protoAccessor);
}
defineProperty(Object, 'getPrototypeOf', { value: hiding(Object.getPrototypeOf), writable: true, configurable: true });
if (typeof Reflect === 'object') {
    defineProperty(Reflect, 'getPrototypeOf',
                   { value: hiding(Reflect.getPrototypeOf), writable: true, configurable: true });
}

function deepFreeze(x) {
    if (x === null || (typeof x !== 'object' && typeof x !== 'function') || Object.isFrozen(x)) {
        return;
    }
    Object.freeze(x);
    Object.getOwnPropertyNames(x).forEach(function (k) {
        var d = Object.getOwnPropertyDescriptor(x, k);
        if (!d) return;
        if ('value' in d) {
            deepFreeze(d.value);
        } else {
            deepFreeze(d.get);
            deepFreeze(d.set);
        }
    });
    deepFreeze(Object.getPrototypeOf(x));
}
Object.getOwnPropertyNames(BASE).forEach(function (k) {
    var d = Object.getOwnPropertyDescriptor(BASE, k);
    deepFreeze(d.value);
    deepFreeze(d.get);
    deepFreeze(d.set);
});
[Property.prototype, Layer.prototype, Comp.prototype, Shape.prototype, Constant.prototype,
 objectPrototype].forEach(deepFreeze);
Object.freeze(G);

// Starts an evaluation described by info ({ time, self, layer, comp, kind, value }:
// handles are integers, -1 for none): gives its global object. The host adds the
// step hook to it.
function enter(info) {
    var state = {
        time: info.time,
        comp: info.comp,
        kind: info.kind,
        self: new Property(info.self),
        me: info.layer >= 0 ? new Layer(info.layer) : null
    };
    var g = Object.create(BASE);
    g.time = state.time;
    g.value = fromNative(info.value);
    g.thisProperty = state.self;
    if (info.comp >= 0) g.thisComp = new Comp(info.comp);
    if (state.me) g.thisLayer = state.me;
    outer.push(cur);
    cur = state;
    return g;
}
function leave() {
    cur = outer.pop();
}
return { enter: enter, leave: leave, finish: finish };
})JS";

}  // namespace tlhost
