#include "audio/unit_likelihood.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <fftw3.h>

#include "audio/peak_between_bins.h"

namespace ao07::audio {

double LogBesselI0(double x) {
    x = std::abs(x);
    if (x < 3.75) {
        const double t = (x / 3.75) * (x / 3.75);
        return std::log(
            1 + t * (3.5156229 +
                     t * (3.0899424 +
                          t * (1.2067492 + t * (0.2659732 + t * (0.0360768 + t * 0.0045813))))));
    }
    const double t = 3.75 / x;
    const double series =
        0.39894228 +
        t * (0.01328592 +
             t * (0.00225319 +
                  t * (-0.00157565 +
                       t * (0.00916281 +
                            t * (-0.02057706 +
                                 t * (0.02635537 + t * (-0.01647633 + t * 0.00392377)))))));
    return x - 0.5 * std::log(x) + std::log(series);
}

namespace {

/// The key-down level (signal over noise of a unit window) is never taken lower than this.
constexpr double kLowestKeyDownSnr = 0.05;

/// Key-down signal over noise of a unit window across an amplitude window, as a curve of the
/// place in the window (-1 to 1): a level, a slope and a bend.
struct LevelCurve {
    std::array<double, 3> terms{};
    double At(double place) const { return terms[0] + place * (terms[1] + place * terms[2]); }
};

/// Normal equations of a weighted least-squares fit of a curve's terms: three rows of three
/// terms and the right-hand side.
using NormalEquations = std::array<std::array<double, 4>, 3>;

/// Solves the first `terms` normal equations (Gauss-Jordan with partial pivoting); false where
/// they do not determine the terms.
bool SolveCurve(NormalEquations m, int terms, LevelCurve& curve) {
    for (int c = 0; c < terms; ++c) {
        int pivot = c;
        for (int r = c + 1; r < terms; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) {
                pivot = r;
            }
        }
        if (std::abs(m[pivot][c]) < 1e-9) {
            return false;
        }
        std::swap(m[c], m[pivot]);
        for (int r = 0; r < terms; ++r) {
            if (r == c) {
                continue;
            }
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < 4; ++k) {
                m[r][k] -= f * m[c][k];
            }
        }
    }
    curve = {};
    for (int c = 0; c < terms; ++c) {
        curve.terms[c] = m[c][3] / m[c][c];
    }
    return true;
}

/// Key-down signal over noise of the unit windows, from the powers (over their noise) of the
/// windows around at `places` across the window, starting from the level `start`: a curve of
/// `degree` (0 for a level held across the window), its slope and bend pulled towards flat by
/// `flatPull` over the level.
LevelCurve KeyDownSnr(double start, const std::vector<float>& powers,
                      const std::vector<float>& places, int degree, double flatPull) {
    // The strongest windows alone would hold the noise that made them strongest, and so
    // overstate the key-down level where the tone is weak: a likelihood then claims more than
    // the sound says. The level is refined instead as the mean of a mixture of key-up windows
    // (noise alone) and key-down ones, each window weighed by how likely it is key down, and
    // by how little its power scatters about the level (the variance of a key-down window's
    // power over its noise is about 1 + 2 SNR): the windows in a trough place a bend best.
    constexpr int kRounds = 6;
    LevelCurve curve;
    curve.terms[0] = std::max(start, kLowestKeyDownSnr);
    double downShare = 0.4;
    for (int round = 0; round < kRounds && !powers.empty(); ++round) {
        NormalEquations normal{};
        double weight = 0;
        const double prior = std::log(downShare / (1 - downShare));
        for (std::size_t i = 0; i < powers.size(); ++i) {
            const double power = powers[i];
            const double place = places[i];
            const double snr = std::max(curve.At(place), kLowestKeyDownSnr);
            const double llr = LogBesselI0(2 * std::sqrt(snr * power)) - snr + prior;
            const double down =
                llr > 0 ? 1 / (1 + std::exp(-llr)) : std::exp(llr) / (1 + std::exp(llr));
            weight += down;
            const double fitWeight = down / (1 + 2 * snr);
            const std::array<double, 3> basis{1, place, place * place};
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) {
                    normal[r][c] += fitWeight * basis[r] * basis[c];
                }
                normal[r][3] += fitWeight * basis[r] * (power - 1);
            }
        }
        if (weight <= 0) {
            break;
        }
        // A weak level bends with the noise: its slope and bend are held near flat.
        for (int r = 1; r < 3; ++r) {
            normal[r][r] += flatPull / std::max(start, kLowestKeyDownSnr) * normal[0][0];
        }
        // Where the equations do not place a bend (next to no window heard key down), a line
        // is fitted, or else a level.
        int terms = degree + 1;
        while (terms > 0 && !SolveCurve(normal, terms, curve)) {
            --terms;
        }
        if (terms == 0) {
            break;
        }
        downShare = std::clamp(weight / static_cast<double>(powers.size()), 0.02, 0.9);
    }
    return curve;
}

}  // namespace

UnitLikelihoods::UnitLikelihoods(double basebandRateHz, const UnitClock& clock,
                                 std::int64_t fromSample, const LikelihoodParams& params)
    : m_params(params),
      m_rateHz(basebandRateHz),
      m_windowTicks(params.amplitudeWindowSeconds * basebandRateHz * kTicksPerUnit /
                    clock.unitSamples),
      m_swingingWindowTicks(params.swingingAmplitudeWindowSeconds * basebandRateHz * kTicksPerUnit /
                            clock.unitSamples),
      m_tickSamples(clock.unitSamples / kTicksPerUnit) {
    const double steps =
        std::ceil((static_cast<double>(fromSample) - clock.boundarySample) / m_tickSamples);
    m_originSample = clock.boundarySample + steps * m_tickSamples;
    // The tones a swinging unit is heard at, each tick of the window turned by its offset.
    double weights = 0;
    for (int step = -params.swingingToneSteps; step <= params.swingingToneSteps; ++step) {
        const double offsetHz = step * params.swingingToneStepHz;
        const double spread = offsetHz / params.swingingToneErrorHz;
        m_toneWeights.push_back(std::exp(-0.5 * spread * spread));
        weights += m_toneWeights.back();
        auto& turns = m_toneTurns.emplace_back();
        for (int i = 0; i < kTicksPerUnit; ++i) {
            turns[static_cast<std::size_t>(i)] = std::polar(
                1.0, -2 * std::numbers::pi * offsetHz * (i + 0.5) * m_tickSamples / m_rateHz);
        }
    }
    for (double& weight : m_toneWeights) {
        weight /= weights;
    }
    m_fftSize = 64;
    while (m_fftSize < 8 * (m_windowTicks + kTicksPerUnit)) {
        m_fftSize *= 2;
    }
    m_fftIn = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(m_fftSize));
    m_fftOut = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(m_fftSize));
    m_plan =
        fftwf_plan_dft_1d(m_fftSize, reinterpret_cast<fftwf_complex*>(m_fftIn),
                          reinterpret_cast<fftwf_complex*>(m_fftOut), FFTW_FORWARD, FFTW_ESTIMATE);
}

UnitLikelihoods::~UnitLikelihoods() {
    fftwf_destroy_plan(m_plan);
    fftwf_free(m_fftIn);
    fftwf_free(m_fftOut);
}

UnitLikelihoods::PlacedTone UnitLikelihoods::PlaceTone(std::int64_t from, std::int64_t to) {
    // The tracker's tone over the window, as a line: its wander about a tone that holds still
    // averages out.
    PlacedTone placed;
    placed.centreTick = 0.5 * static_cast<double>(from + to - 1);
    double sumHz = 0;
    double sumXHz = 0;
    double sumXX = 0;
    for (std::int64_t tick = from; tick < to; ++tick) {
        const double x = static_cast<double>(tick) - placed.centreTick;
        const double hz = m_tickOffsetHz[static_cast<std::size_t>(tick - m_firstTick)];
        sumHz += hz;
        sumXHz += x * hz;
        sumXX += x * x;
    }
    placed.offsetHz = sumHz / static_cast<double>(to - from);
    placed.driftHzPerTick = sumXX > 0 ? sumXHz / sumXX : 0.0;
    // A slope this small is the tracker's wander, not a drift: the tone is taken to hold still.
    if (std::abs(placed.driftHzPerTick) * m_rateHz / m_tickSamples <=
        m_params.wanderDriftHzPerSecond) {
        placed.driftHzPerTick = 0;
    }
    // The tick sums, turned on by what the tracker's tone gained on that line, hold the tone
    // near 0 Hz: the peak of their zero-padded transform places it to hundredths of a hertz.
    placed.fromWindow = true;
    double gained = 0;
    for (int i = 0; i < m_fftSize; ++i) {
        const std::int64_t tick = from + i;
        if (tick < to) {
            m_fftIn[i] = m_tickSums[static_cast<std::size_t>(tick - m_firstTick)] *
                         std::complex<float>(TurnOnto(placed, tick, gained));
        } else {
            m_fftIn[i] = {};
        }
    }
    fftwf_execute(m_plan);
    const double binHz = m_rateHz / (m_tickSamples * m_fftSize);
    const auto reach = static_cast<int>(std::ceil(m_params.fineSearchHz / binHz));
    auto power = [&](int k) {
        return static_cast<double>(std::norm(m_fftOut[((k % m_fftSize) + m_fftSize) % m_fftSize]));
    };
    int best = 0;
    for (int k = -reach; k <= reach; ++k) {
        if (power(k) > power(best)) {
            best = k;
        }
    }
    placed.offsetHz +=
        (best + PeakShiftBins(power(best - 1), power(best), power(best + 1))) * binHz;
    return placed;
}

std::complex<double> UnitLikelihoods::TurnOnto(const PlacedTone& tone, std::int64_t tick,
                                               double& gained) const {
    double step = 0;
    if (tone.fromWindow) {
        const double toneHz =
            tone.offsetHz + tone.driftHzPerTick * (static_cast<double>(tick) - tone.centreTick);
        step = 2 * std::numbers::pi * m_tickSamples / m_rateHz *
               (m_tickOffsetHz[static_cast<std::size_t>(tick - m_firstTick)] - toneHz);
    }
    const std::complex<double> turn = std::polar(1.0, gained + step / 2);
    gained = std::remainder(gained + step, 2 * std::numbers::pi);
    return turn;
}

void UnitLikelihoods::Extend(const TurnedBaseband& baseband) {
    // Sum the samples of every tick the baseband covers completely.
    for (;;) {
        const auto begin = static_cast<std::int64_t>(std::ceil(TickSample(m_summedTicks)));
        const auto end = static_cast<std::int64_t>(std::ceil(TickSample(m_summedTicks + 1)));
        if (end > baseband.EndSample()) {
            break;
        }
        std::complex<float> sum{};
        for (std::int64_t n = std::max(begin, baseband.firstSample); n < end; ++n) {
            sum += baseband.samples[static_cast<std::size_t>(n - baseband.firstSample)];
        }
        const std::int64_t hop =
            std::clamp<std::int64_t>(begin / baseband.hopSamples - baseband.firstHop, 0,
                                     static_cast<std::int64_t>(baseband.noiseVariance.size()) - 1);
        const double toneHz =
            baseband.toneHz.empty()
                ? 0.0
                : baseband.toneHz[static_cast<std::size_t>(std::min<std::int64_t>(
                      hop, static_cast<std::int64_t>(baseband.toneHz.size()) - 1))];
        if (m_summedTicks == 0) {
            m_referenceHz = toneHz;
        }
        m_tickOffsetHz.push_back(static_cast<float>(toneHz - m_referenceHz));
        m_tickSums.push_back(sum);
        m_tickCounts.push_back(static_cast<int>(end - begin));
        m_tickNoise.push_back(baseband.noiseVariance.empty()
                                  ? 1.0f
                                  : baseband.noiseVariance[static_cast<std::size_t>(hop)]);
        m_tickSteady.push_back(!baseband.steady.empty() &&
                               baseband.steady[static_cast<std::size_t>(hop)]);
        ++m_summedTicks;
    }
    // Likelihoods follow block by block, once a block's amplitude window is complete.
    const auto block = static_cast<std::int64_t>(m_params.amplitudeBlockTicks);
    const double windowTicks = std::max(m_windowTicks, m_swingingWindowTicks);
    for (;;) {
        const std::int64_t next = m_readyTicks / block;
        const auto windowEnd = static_cast<std::int64_t>(
            static_cast<double>(next * block + block / 2) + windowTicks / 2);
        if (windowEnd + kTicksPerUnit > m_summedTicks) {
            break;
        }
        ComputeAmplitudes(next, (next + 1) * block);
    }
}

void UnitLikelihoods::Finish(const TurnedBaseband& baseband) {
    Extend(baseband);
    // Every unit window the input covers, its amplitude window cut short by the end; the ticks
    // it turns the phase over reach a unit further.
    const auto block = static_cast<std::int64_t>(m_params.amplitudeBlockTicks);
    const std::int64_t lastEnd = m_summedTicks - kTicksPerUnit;
    while (m_readyTicks < lastEnd) {
        const std::int64_t next = m_readyTicks / block;
        ComputeAmplitudes(next, std::min(lastEnd, (next + 1) * block));
    }
}

void UnitLikelihoods::ComputeAmplitudes(std::int64_t blockIndex, std::int64_t end) {
    const auto block = static_cast<std::int64_t>(m_params.amplitudeBlockTicks);
    const std::int64_t centre = blockIndex * block + block / 2;
    auto reach = [&](double ticks, std::int64_t& from, std::int64_t& to) {
        from = std::max(m_firstTick, centre - static_cast<std::int64_t>(ticks / 2));
        to = std::min(m_summedTicks - kTicksPerUnit, centre + static_cast<std::int64_t>(ticks / 2));
    };
    std::int64_t placedFrom = 0;
    std::int64_t placedTo = 0;
    reach(m_windowTicks, placedFrom, placedTo);
    auto at = [&](std::int64_t tick) { return static_cast<std::size_t>(tick - m_firstTick); };
    bool steady = placedTo > placedFrom;
    for (std::int64_t tick = placedFrom; tick < placedTo && steady; ++tick) {
        steady = m_tickSteady[at(tick)];
    }
    // Where the tone swings, the level is fitted over a longer window: a fade's trough holds
    // few key-down windows heard well.
    const double windowTicks = steady ? m_windowTicks : m_swingingWindowTicks;
    std::int64_t from = placedFrom;
    std::int64_t to = placedTo;
    reach(windowTicks, from, to);
    auto window = [&](std::int64_t tick, std::complex<float>& sum, int& count, float& noise) {
        sum = {};
        count = 0;
        noise = 0;
        for (int i = 0; i < kTicksPerUnit; ++i) {
            sum += m_tickSums[at(tick + i)];
            count += m_tickCounts[at(tick + i)];
            noise += m_tickNoise[at(tick + i)] / kTicksPerUnit;
        }
    };
    // The key-down amplitude per sample, to start from: the strongest windows' power, less
    // their noise.
    m_scratch.clear();
    m_windowPower.clear();
    m_windowPlace.clear();
    const double halfWindow = std::max(1.0, windowTicks / 2);
    // A unit window's place across the amplitude window, about -1 to 1, at its middle.
    auto place = [&](std::int64_t tick) {
        return static_cast<double>(tick + kTicksPerUnit / 2 - centre) / halfWindow;
    };
    std::array<double, kTicksPerUnit> phasePower{};
    double noiseSum = 0;
    for (std::int64_t tick = from; tick < to; ++tick) {
        std::complex<float> sum;
        int count = 0;
        float noise = 0;
        window(tick, sum, count, noise);
        const double perSample = static_cast<double>(std::norm(sum)) / (double(count) * count);
        m_scratch.push_back(static_cast<float>(perSample));
        phasePower[static_cast<std::size_t>(tick % kTicksPerUnit)] += std::norm(sum) / count;
        // A window without noise to weigh it by is not fitted.
        m_windowPower.push_back(noise > 0 ? static_cast<float>(std::norm(sum) / (noise * count))
                                          : -1.0f);
        m_windowPlace.push_back(static_cast<float>(place(tick)));
        noiseSum += noise / count;
    }
    // Windows straddling an element's edge hold part of its energy, and pull a fitted key-down
    // level low. Where the tone has held still over the whole window only the windows of one
    // quarter-unit phase are fitted: the phase whose windows hold the most power, nearest the
    // elements' edges (the clock alone places them to a quarter unit or so). Elsewhere every
    // window is, as fades need them all.
    const auto fittedPhase =
        std::max_element(phasePower.begin(), phasePower.end()) - phasePower.begin();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_windowPower.size(); ++i) {
        const bool inPhase =
            !steady || (from + static_cast<std::int64_t>(i)) % kTicksPerUnit == fittedPhase;
        if (inPhase && m_windowPower[i] >= 0) {
            m_windowPlace[kept] = m_windowPlace[i];
            m_windowPower[kept++] = m_windowPower[i];
        }
    }
    m_windowPower.resize(kept);
    m_windowPlace.resize(kept);
    double amplitudeSquared = 0;
    LevelCurve level;
    double noisePerSample = 0;
    if (!m_scratch.empty()) {
        const auto top = std::max<std::size_t>(
            1, static_cast<std::size_t>(m_params.keyDownShare * m_scratch.size()));
        std::nth_element(m_scratch.begin(), m_scratch.end() - static_cast<std::ptrdiff_t>(top),
                         m_scratch.end(), std::less<float>());
        double topSum = 0;
        for (auto it = m_scratch.end() - static_cast<std::ptrdiff_t>(top); it != m_scratch.end();
             ++it) {
            topSum += *it;
        }
        amplitudeSquared =
            topSum / static_cast<double>(top) - noiseSum / static_cast<double>(m_scratch.size());
        noisePerSample = noiseSum / static_cast<double>(m_scratch.size());
        if (noisePerSample > 0) {
            level =
                KeyDownSnr(amplitudeSquared / noisePerSample, m_windowPower, m_windowPlace, 0, 0);
            // Where the tone swings the level bends with the fade, from the level found. A
            // window cut short (by more than two units) by the first tick kept or the end of the
            // input is not bent: the curve would be carried past what was heard.
            const bool whole = static_cast<double>(to - from) >= windowTicks - 2 * kTicksPerUnit;
            if (!steady && whole && m_params.swingingLevelDegree > 0) {
                level = KeyDownSnr(level.terms[0], m_windowPower, m_windowPlace,
                                   m_params.swingingLevelDegree, m_params.swingingLevelFlatPull);
            }
        }
    }
    const std::int64_t first = std::max(blockIndex * block, m_readyTicks);
    // The phase evidence is turned on from the tracker's tone, as the samples were turned, to
    // the tone as placed over the block's 1.5 s window (also where the level is fitted over a
    // longer one): the phase then holds from one element to the next through the tracker's
    // wander.
    const PlacedTone placed =
        placedTo > placedFrom ? PlaceTone(placedFrom, placedTo + kTicksPerUnit) : PlacedTone{};
    m_fineTurns.clear();
    double gained = m_finePhase;
    for (std::int64_t tick = first; tick < end + kTicksPerUnit; ++tick) {
        if (tick == end) {
            m_finePhase = gained;
        }
        m_fineTurns.push_back(TurnOnto(placed, tick, gained));
    }
    for (std::int64_t tick = first; tick < end; ++tick) {
        std::complex<float> sum;
        int count = 0;
        float noise = 0;
        window(tick, sum, count, noise);
        const double unitNoise = static_cast<double>(noise) * count;
        if (noisePerSample > 0) {
            amplitudeSquared = noisePerSample * std::max(level.At(place(tick)), kLowestKeyDownSnr);
        }
        const double signal =
            std::max(amplitudeSquared * count * count, m_params.smallestUnitSnr * unitNoise);
        const double snr = signal / unitNoise;
        const double heard =
            m_tickSteady[at(tick)] || snr >= m_params.swingingBankLargestSnr
                ? LogBesselI0(2 * std::sqrt(signal) * std::abs(sum) / unitNoise) - snr
                : SwingingLlr(tick, signal, unitNoise);
        const double llr = std::clamp(heard, -m_params.largestUnitLlr, m_params.largestUnitLlr);
        m_llr.push_back(static_cast<float>(llr));
        // -log(e^llr / 2 + 1 / 2), without overflow for large ratios.
        const double mixed = llr > 0 ? llr + std::log1p(std::exp(-llr)) : std::log1p(std::exp(llr));
        m_keyUpScore.push_back(static_cast<float>(std::log(2.0) - mixed));
        m_unitSnr.push_back(static_cast<float>(snr));
        std::complex<double> turned{};
        for (int i = 0; i < kTicksPerUnit; ++i) {
            turned += std::complex<double>(m_tickSums[at(tick + i)]) *
                      m_fineTurns[static_cast<std::size_t>(tick - first + i)];
        }
        m_phaseEvidence.push_back(std::complex<float>(2 * std::sqrt(signal) / unitNoise * turned));
    }
    m_readyTicks = end;
}

double UnitLikelihoods::SwingingLlr(std::int64_t tick, double signal, double unitNoise) const {
    // The mean of the likelihood ratios over the tones, each ratio's exponent held within
    // reach of a double.
    constexpr double kLargestExponent = 50;
    double mean = 0;
    for (std::size_t k = 0; k < m_toneTurns.size(); ++k) {
        std::complex<double> sum{};
        for (int i = 0; i < kTicksPerUnit; ++i) {
            sum +=
                std::complex<double>(m_tickSums[static_cast<std::size_t>(tick + i - m_firstTick)]) *
                m_toneTurns[k][static_cast<std::size_t>(i)];
        }
        const double llr =
            LogBesselI0(2 * std::sqrt(signal) * std::abs(sum) / unitNoise) - signal / unitNoise;
        mean += m_toneWeights[k] * std::exp(std::min(llr, kLargestExponent));
    }
    return std::log(mean);
}

double UnitLikelihoods::Llr(std::int64_t tick) const {
    return tick < m_readyTicks ? m_llr[static_cast<std::size_t>(tick - m_firstTick)] : 0.0;
}

double UnitLikelihoods::KeyDownScore(std::int64_t tick,
                                     std::span<const std::pair<int, int>> keyDowns) const {
    // The phase as known from the units before is a von Mises (Tikhonov) density of parameter
    // `carried`: each unit adds its evidence, and the wander between units widens it
    // (Colavolpe, Barbieri and Caire, IEEE JSAC 2005). A unit's share of the ratio is what it
    // adds to ln I0(|carried|), less its energy, held within a limit. Where the tone swings
    // nothing carries, and a unit's share is its own Llr().
    std::complex<double> carried{};
    int lastUnit = -1;
    double score = 0;
    for (const auto& [first, length] : keyDowns) {
        for (int u = first; u < first + length; ++u) {
            // Units past the end of the input are not heard.
            if (tick + kTicksPerUnit * u >= m_readyTicks) {
                return score;
            }
            const auto at = static_cast<std::size_t>(tick + kTicksPerUnit * u - m_firstTick);
            if (!m_tickSteady[at]) {
                carried = 0;
                score += m_llr[at];
                continue;
            }
            if (lastUnit >= 0) {
                carried /=
                    1 + std::abs(carried) * m_params.steadyPhaseVariancePerUnit * (u - lastUnit);
            }
            const double before = LogBesselI0(std::abs(carried));
            carried += std::complex<double>(m_phaseEvidence[at]);
            score += std::clamp(LogBesselI0(std::abs(carried)) - before - m_unitSnr[at],
                                -m_params.largestCarriedUnitLlr, m_params.largestCarriedUnitLlr);
            lastUnit = u;
        }
    }
    return score;
}

double UnitLikelihoods::UnitSnr(std::int64_t tick) const {
    return tick < m_readyTicks ? m_unitSnr[static_cast<std::size_t>(tick - m_firstTick)] : 0.0;
}

void UnitLikelihoods::Forget(std::int64_t tick) {
    while (m_firstTick < tick && !m_llr.empty()) {
        m_tickSums.pop_front();
        m_tickOffsetHz.pop_front();
        m_tickCounts.pop_front();
        m_tickNoise.pop_front();
        m_llr.pop_front();
        m_keyUpScore.pop_front();
        m_unitSnr.pop_front();
        m_phaseEvidence.pop_front();
        m_tickSteady.pop_front();
        ++m_firstTick;
    }
}

}  // namespace ao07::audio
