// gen_samples: synthesizes the six strong percussion strokes of the sample
// bank (kudüm, bendir and def; Düm and Tek each) as 16-bit mono WAV files.
//
//   gen_samples OUTDIR
//
// The output is committed, so it must be byte-reproducible on any machine:
// fixed seeds, our own PRNG, and our own sin/exp built from + - * / only.
// libm's sin/exp/pow are allowed to differ in the last bit between library
// versions, and a single flipped bit would show up as a changed asset.
// The program therefore never calls them in the output path; the only
// library maths used is floor, ldexp (exact by definition) and nearbyint
// for the final conversion.
//
// Every stroke is a sum of decaying modes (damped sinusoids, optionally with
// a pitch glide at the onset) plus band-limited noise bursts for the stick,
// palm, slap and jingle clashes. Parameters are in musical units (Hz, seconds
// to fall by 60 dB), not in samples, so they read like a description of the
// instrument.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kLn2 = 0.69314718055994530942;
// -60 dB as a natural-log amplitude ratio: ln(1000).
constexpr double kLn1000 = 6.90775527898213705205;

// ---------------------------------------------------------------------------
// Deterministic maths. Plain Taylor series after range reduction; accuracy is
// far beyond what 16-bit output can show, and the result depends only on
// IEEE-754 double arithmetic.

double detSin(double x) {
    // Reduce to [-pi, pi], then fold into [-pi/2, pi/2].
    double k = std::floor(x / kTwoPi + 0.5);
    double r = x - k * kTwoPi;
    if (r > kPi / 2)
        r = kPi - r;
    else if (r < -kPi / 2)
        r = -kPi - r;
    double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 9; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double detCos(double x) {
    return detSin(x + kPi / 2);
}

double detExp(double x) {
    if (x < -700.0) return 0.0;
    double k = std::floor(x / kLn2 + 0.5);
    double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 18; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// splitmix64: tiny, well mixed, and fully defined, unlike the standard
// distributions whose output may change between library versions.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed) {}
    uint64_t next() {
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double bipolar() { return 2.0 * uniform() - 1.0; }
};

// ---------------------------------------------------------------------------
// Building blocks.

using Buffer = std::vector<double>;

// Amplitude factor after t seconds for a decay of t60 seconds to -60 dB.
double decayAt(double t, double t60) {
    return detExp(-kLn1000 * t / t60);
}

struct Mode {
    double freq; // Hz (before any glide)
    double amp;  // linear, relative; the sign is the mode's polarity where
                 // we listen, which keeps all modes from peaking together
    double t60;  // seconds to fall by 60 dB
};

// A pitch that starts (1 + depth) times too high and settles with time
// constant tau: the head is stretched harder by the impact and relaxes.
struct Glide {
    double depth = 0.0;
    double tau = 0.05;
};

// Adds one damped sinusoid starting at `onset` seconds. Starting at phase 0
// means the mode enters from zero, so no step is introduced; `attack` adds a
// short linear ramp for modes high enough that one sample is a large phase
// step.
void addMode(Buffer& buf, const Mode& m, double onset, const Glide& g, double attack) {
    const size_t start = static_cast<size_t>(onset * kRate + 0.5);
    double phase = 0.0;
    for (size_t i = start; i < buf.size(); ++i) {
        const double t = static_cast<double>(i - start) / kRate;
        const double env = decayAt(t, m.t60);
        if (env < 1e-7) break; // below -140 dB: nothing left to hear or quantize
        double a = m.amp * env;
        if (attack > 0.0 && t < attack) a *= t / attack;
        buf[i] += a * detSin(phase);
        double f = m.freq;
        if (g.depth != 0.0) f *= 1.0 + g.depth * detExp(-t / g.tau);
        phase += kTwoPi * f / kRate;
        if (phase > kTwoPi) phase -= kTwoPi;
    }
}

// A real head is never perfectly even, so each mode is really a close pair
// that beats slowly. A weak companion a fraction of a percent higher gives
// that slow shimmer and keeps the strokes from sounding like pure sine tones.
void addSplitMode(Buffer& buf, const Mode& m, const Glide& g, double split) {
    addMode(buf, m, 0.0, g, 0.0);
    addMode(buf, {m.freq * (1.0 + split), 0.3 * m.amp, 0.8 * m.t60}, 0.0, g, 0.0);
}

// RBJ band-pass (0 dB peak gain), direct form I.
struct BandPass {
    double b0, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    BandPass(double fc, double q) {
        const double w = kTwoPi * fc / kRate;
        const double alpha = detSin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * detCos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double run(double x) {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

struct Burst {
    double fc;     // band centre, Hz
    double q;      // band-pass Q (two sections in series, so the band is steeper)
    double amp;    // peak level of the enveloped noise before filtering
    double attack; // seconds, linear rise
    double tau;    // seconds, exponential fall after the attack
};

// Adds a band-limited noise burst. The noise is enveloped before filtering so
// the filter itself shapes the onset and no edge reaches the output.
void addBurst(Buffer& buf, const Burst& b, double onset, uint64_t seed) {
    Rng rng(seed);
    BandPass f1(b.fc, b.q), f2(b.fc, b.q);
    const size_t start = static_cast<size_t>(onset * kRate + 0.5);
    // Run long enough for the envelope to die and the filters to ring out.
    const size_t len = static_cast<size_t>((b.attack + 12.0 * b.tau + 0.02) * kRate);
    for (size_t k = 0; k < len && start + k < buf.size(); ++k) {
        const double t = static_cast<double>(k) / kRate;
        double env;
        if (t < b.attack)
            env = t / b.attack;
        else
            env = detExp(-(t - b.attack) / b.tau);
        const double x = rng.bipolar() * env * b.amp;
        buf[start + k] += f2.run(f1.run(x));
    }
}

// Frequency ratios of an ideal circular membrane: zeros of the Bessel
// functions J_m, divided by the first zero of J_0. These are the inharmonic
// modes of a frame drum with no kettle behind the head.
const std::vector<double>& membraneRatios() {
    static const double zeros[] = {
        2.40483,  3.83171,  5.13562,  5.52008,  6.38016,  7.01559,  7.58834,  8.41724,  8.65373,
        8.77148,  9.76102,  9.93611,  10.17347, 11.06471, 11.08637, 11.61984, 11.79153, 12.22509,
        12.33860, 13.01520, 13.32369, 13.35430, 13.58929, 14.37254, 14.47550};
    static std::vector<double> r;
    if (r.empty())
        for (double z : zeros)
            r.push_back(z / zeros[0]);
    return r;
}

// ---------------------------------------------------------------------------
// Finishing: DC removal, level, fade, conversion.

// One-pole DC blocker (about 10 Hz): short low thumps leave a small offset
// that would otherwise pile up when strokes overlap in a rhythm.
void removeDc(Buffer& buf) {
    const double r = 1.0 - kTwoPi * 10.0 / kRate;
    double x1 = 0.0, y1 = 0.0;
    for (double& v : buf) {
        const double y = v - x1 + r * y1;
        x1 = v;
        y1 = y;
        v = y;
    }
}

// Raised-cosine fade over the last `seconds`, reaching exactly zero on the
// last sample so a stroke cut off by its file length does not click.
void fadeOut(Buffer& buf, double seconds) {
    const size_t n = static_cast<size_t>(seconds * kRate);
    const size_t first = buf.size() - n;
    for (size_t k = 0; k < n; ++k) {
        const double x = static_cast<double>(k + 1) / static_cast<double>(n);
        buf[first + k] *= 0.5 * (1.0 + detCos(kPi * x));
    }
}

std::vector<int16_t> toPcm(Buffer buf) {
    removeDc(buf);
    fadeOut(buf, 0.015);
    double peak = 0.0;
    for (double v : buf)
        peak = std::fabs(v) > peak ? std::fabs(v) : peak;
    // -1 dBFS: 10^(-1/20) of full scale leaves headroom for the int16 rounding.
    const double target = 32767.0 * detExp(-2.30258509299404568402 / 20.0); // ln 10 = 2.3025...
    const double gain = peak > 0.0 ? target / peak : 0.0;
    std::vector<int16_t> out(buf.size());
    for (size_t i = 0; i < buf.size(); ++i) {
        // nearbyint under the default mode rounds half to even; clamp anyway
        // so a future change of level cannot wrap around.
        double v = std::nearbyint(buf[i] * gain);
        if (v > 32767.0) v = 32767.0;
        if (v < -32768.0) v = -32768.0;
        out[i] = static_cast<int16_t>(v);
    }
    return out;
}

// ---------------------------------------------------------------------------
// WAV writing, little-endian by hand so the host byte order never matters.

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void putId(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(id[i]));
}

// withSmpl: the kudüm and def files carry a sampler chunk (36-byte body)
// between "fmt " and "data", so their samples start at byte 88, not 44.
// Readers must search for "data" rather than assume byte 44; these files keep
// that path exercised.
bool writeWav(const std::string& path, const std::vector<int16_t>& pcm, bool withSmpl,
              uint32_t unityNote) {
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    const uint32_t smplBytes = withSmpl ? 8 + 36 : 0;
    std::vector<uint8_t> b;
    putId(b, "RIFF");
    put32(b, 4 + (8 + 16) + smplBytes + (8 + dataBytes)); // file size - 8
    putId(b, "WAVE");
    putId(b, "fmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, kRate);
    put32(b, kRate * 2); // byte rate
    put16(b, 2);         // block align
    put16(b, 16);        // bits per sample
    if (withSmpl) {
        putId(b, "smpl");
        put32(b, 36);
        put32(b, 0);         // manufacturer
        put32(b, 0);         // product
        put32(b, 22676);     // sample period in ns (1e9 / 44100, rounded)
        put32(b, unityNote); // MIDI unity note
        put32(b, 0);         // pitch fraction
        put32(b, 0);         // SMPTE format
        put32(b, 0);         // SMPTE offset
        put32(b, 0);         // loop count
        put32(b, 0);         // sampler data
    }
    putId(b, "data");
    put32(b, dataBytes);
    for (int16_t s : pcm)
        put16(b, static_cast<uint16_t>(s));

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------------------
// The strokes. Each returns an unscaled buffer of the exact length the
// sample bank expects; toPcm() sets the level.

// Kudüm: the copper kettle under the head pulls the main modes close to a
// harmonic series (1 : 1.5 : 2 : 2.5 : 3), so the strokes sound pitched.
// The wooden stick adds a few milliseconds of bright noise.
Buffer kudumDum() {
    Buffer b(46081, 0.0);
    const Glide glide{0.012, 0.025};
    const Mode modes[] = {
        {147.0, 1.00, 0.90},
        {221.0, -0.46, 0.62},
        {293.0, 0.30, 0.44},
        {363.0, -0.19, 0.30},
        {432.0, 0.12, 0.20},
        // Weak untuned head modes: the kettle does not tame all of them.
        {508.0, -0.040, 0.10},
        {597.0, 0.030, 0.08},
        {716.0, -0.020, 0.06},
    };
    double split = 0.004;
    for (const Mode& m : modes) {
        addSplitMode(b, m, glide, split);
        split += 0.0007;
    }
    // The low thump of the air in the bowl, gone within a tenth of a second.
    addMode(b, {115.0, -0.45, 0.11}, 0.0, Glide{}, 0.0);
    addBurst(b, {1700.0, 1.1, 5.0, 0.0003, 0.0013}, 0.0, 0x6B7564756D01ull);
    addBurst(b, {2900.0, 1.4, 2.6, 0.0002, 0.0009}, 0.0, 0x6B7564756D02ull);
    return b;
}

Buffer kudumTek() {
    Buffer b(13825, 0.0);
    const Glide glide{0.010, 0.015};
    const Mode modes[] = {
        {277.0, 1.00, 0.26}, {416.0, -0.50, 0.19},  {551.0, 0.32, 0.13},   {684.0, -0.20, 0.08},
        {814.0, 0.13, 0.05}, {962.0, -0.035, 0.04}, {1131.0, 0.025, 0.03},
    };
    double split = 0.005;
    for (const Mode& m : modes) {
        addSplitMode(b, m, glide, split);
        split += 0.0008;
    }
    addMode(b, {214.0, -0.22, 0.05}, 0.0, Glide{}, 0.0);
    addBurst(b, {2100.0, 1.1, 5.0, 0.0003, 0.0012}, 0.0, 0x6B7564756D03ull);
    addBurst(b, {3300.0, 1.4, 2.4, 0.0002, 0.0008}, 0.0, 0x6B7564756D04ull);
    return b;
}

// Bendir: a 40 cm frame with no kettle, so its modes follow the membrane
// ratios. The open centre stroke rings on the fundamental and the other
// axisymmetric modes; the rim stroke excites the dense upper cloud.
Buffer bendirDum() {
    Buffer b(50671, 0.0);
    const double f0 = 86.0;
    const std::vector<double>& r = membraneRatios();
    const Glide glide{0.045, 0.06};
    // amp, t60 per mode, in membraneRatios() order. The centre stroke feeds
    // the (0,n) modes (index 0, 3, 8, 16) most.
    const double amp[] = {1.00, -0.20,  0.10,  -0.30, 0.06, -0.08, 0.035, -0.03, 0.09,
                          0.02, -0.015, 0.012, -0.02, 0.01, -0.01, 0.01,  -0.03};
    const double t60[] = {1.10, 0.75, 0.55, 0.62, 0.42, 0.42, 0.34, 0.30, 0.32,
                          0.26, 0.22, 0.20, 0.20, 0.16, 0.16, 0.15, 0.16};
    for (size_t i = 0; i < sizeof amp / sizeof amp[0]; ++i)
        addSplitMode(b, {f0 * r[i], amp[i], t60[i]}, glide, 0.003 + 0.001 * i);
    // Palm on the skin: a soft, dull noise around 300 Hz.
    addBurst(b, {300.0, 1.2, 2.6, 0.0015, 0.012}, 0.0, 0x62656E6401ull);
    addBurst(b, {900.0, 1.0, 0.5, 0.0008, 0.004}, 0.0, 0x62656E6402ull);
    return b;
}

// The rim stroke is dry: the hand stays on the skin after the slap and damps
// it, so every mode dies within about a quarter of a second, and the fingers
// on the rim give a bright slap and upper modes well above 1 kHz.
Buffer bendirTek() {
    Buffer b(41455, 0.0);
    const double f0 = 86.0;
    const std::vector<double>& r = membraneRatios();
    const Glide glide{0.02, 0.03};
    Rng rng(0x62656E6403ull);
    // Low modes: present but weak at the rim, and damped by the resting hand.
    addMode(b, {f0 * r[0], 0.10, 0.16}, 0.0, glide, 0.0);
    addMode(b, {f0 * r[1], 0.10, 0.15}, 0.0, glide, 0.0);
    addMode(b, {f0 * r[2], 0.14, 0.15}, 0.0, glide, 0.0);
    addMode(b, {f0 * r[3], 0.09, 0.14}, 0.0, glide, 0.0);
    // The upper membrane modes, strongest around 300-500 Hz. A small random
    // detune per mode stands in for an uneven real head.
    for (size_t i = 4; i < r.size(); ++i) {
        const double f = f0 * r[i] * (1.0 + 0.012 * rng.bipolar());
        const double d = (f - 390.0) / 170.0;
        const double amp = (rng.uniform() < 0.5 ? -1.0 : 1.0) * (0.55 * detExp(-d * d) + 0.04);
        const double t60 = 0.20 - 0.07 * (f - 230.0) / 400.0;
        addMode(b, {f, amp, t60}, 0.0, glide, 0.0);
    }
    // A denser, fast-dying cloud above: modes too high and too close to list.
    for (int i = 0; i < 60; ++i) {
        const double f = rng.range(560.0, 3200.0);
        const double amp = 0.20 * (1.0 - (f - 560.0) / 4000.0) * rng.range(0.4, 1.0) *
                           (rng.uniform() < 0.5 ? -1.0 : 1.0);
        addMode(b, {f, amp, rng.range(0.04, 0.10)}, 0.0, Glide{}, 0.0);
    }
    // The slap of fingers on the rim.
    addBurst(b, {2500.0, 1.3, 3.0, 0.0003, 0.0045}, 0.0, 0x62656E6404ull);
    addBurst(b, {1200.0, 1.0, 1.0, 0.0003, 0.004}, 0.0, 0x62656E6405ull);
    return b;
}

// Def jingles: each pair of small bronze cymbals rings on a handful of
// inharmonic partials when the pair clashes, and clashes again a few times as
// the frame moves. Onsets are scattered so the clash sounds like a shimmer,
// not a single tick.
struct JingleSet {
    int pairs;
    int hitsMin, hitsMax; // clashes per pair
    double level;
    double spread; // seconds over which first clashes scatter
    double t60Scale;
};

void addJingles(Buffer& b, const JingleSet& js, uint64_t seed) {
    Rng rng(seed);
    // Partial ratios of a small cupped plate, each jittered per pair below.
    const double ratios[] = {1.0, 1.41, 1.78, 2.16, 2.49, 2.87};
    for (int p = 0; p < js.pairs; ++p) {
        const double base = rng.range(2300.0, 3600.0);
        Mode partials[6];
        for (int k = 0; k < 6; ++k) {
            const double f = base * ratios[k] * (1.0 + 0.03 * rng.bipolar());
            const double sign = rng.uniform() < 0.5 ? -1.0 : 1.0;
            // Fold the top partials down an octave rather than drop them: the
            // jingle band should stay mostly below 10 kHz.
            partials[k] = {f > 10500.0 ? f * 0.5 : f,
                           sign * rng.range(0.35, 1.0) / (1.0 + 0.25 * k),
                           js.t60Scale * rng.range(0.06, 0.16)};
        }
        double t = rng.range(0.0005, js.spread);
        double level = js.level * rng.range(0.7, 1.0);
        const int hits =
            js.hitsMin + static_cast<int>(rng.uniform() * (js.hitsMax - js.hitsMin + 1));
        for (int h = 0; h < hits; ++h) {
            for (int k = 0; k < 6; ++k) {
                Mode m = partials[k];
                m.amp *= level;
                addMode(b, m, t, Glide{}, 0.0002);
            }
            // The clash itself: a very short bright noise.
            addBurst(b, {6500.0, 0.8, 1.8 * level, 0.0002, 0.0012}, t, rng.next());
            t += rng.range(0.012, 0.035);
            level *= rng.range(0.35, 0.55);
        }
    }
}

Buffer defDum() {
    Buffer b(18433, 0.0);
    const double f0 = 128.0;
    const std::vector<double>& r = membraneRatios();
    const Glide glide{0.025, 0.04};
    const double amp[] = {1.00, -0.22, 0.10, -0.26, 0.06, -0.06, 0.03, -0.02, 0.06};
    const double t60[] = {0.40, 0.28, 0.22, 0.24, 0.16, 0.15, 0.12, 0.12, 0.12};
    for (size_t i = 0; i < sizeof amp / sizeof amp[0]; ++i)
        addSplitMode(b, {f0 * r[i], amp[i], t60[i]}, glide, 0.003 + 0.001 * i);
    addBurst(b, {420.0, 1.1, 1.8, 0.001, 0.008}, 0.0, 0x64656601ull);
    // The centre stroke shakes the frame only a little.
    addJingles(b, {4, 1, 2, 0.18, 0.010, 1.0}, 0x64656602ull);
    return b;
}

Buffer defTek() {
    Buffer b(9217, 0.0);
    const double f0 = 128.0;
    const std::vector<double>& r = membraneRatios();
    // A short, light head sound under the jingles.
    for (size_t i = 2; i < 10; ++i)
        addMode(b, {f0 * r[i], 0.08, 0.07}, 0.0, Glide{}, 0.0);
    addBurst(b, {1500.0, 1.0, 0.6, 0.0003, 0.002}, 0.0, 0x64656603ull);
    addJingles(b, {5, 2, 4, 0.35, 0.006, 1.0}, 0x64656604ull);
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    struct Out {
        const char* name;
        Buffer (*make)();
        bool smpl;
        uint32_t unityNote; // nearest MIDI note of the stroke's pitch
    };
    // Unity notes: 147 Hz ~ D3 (50), 277 Hz ~ C#4 (61), 128 Hz ~ C3 (48);
    // the jingle stroke has no pitch and takes middle C (60).
    const Out outs[] = {
        {"kudum_dum.wav", kudumDum, true, 50},   {"kudum_tek.wav", kudumTek, true, 61},
        {"bendir_dum.wav", bendirDum, false, 0}, {"bendir_tek.wav", bendirTek, false, 0},
        {"def_dum.wav", defDum, true, 48},       {"def_tek.wav", defTek, true, 60},
    };
    int rc = 0;
    for (const Out& o : outs) {
        const std::string path = dir + "/" + o.name;
        if (!writeWav(path, toPcm(o.make()), o.smpl, o.unityNote)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            rc = 1;
        }
    }
    return rc;
}
