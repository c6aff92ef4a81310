#include "audio/frame_decoder.h"

#include "audio/morse_code.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace ao07::audio {
namespace {

/// How a character's key-down units are weighed: together, with the tone's phase carried
/// between them where it holds still, or each on its own.
enum class Hearing { Together, UnitByUnit };

/// Log-likelihood ratio of a character at `tick` and the gap after it (`gapUnits`) against
/// random keying. Units past the end of the input are not heard, for any character alike.
double CharacterScore(const UnitLikelihoods& likelihoods, const KeyedShape& shape,
                      std::int64_t tick, int gapUnits, Hearing hearing = Hearing::Together) {
    double score = 0;
    for (int u = 0; u < shape.units + gapUnits; ++u) {
        score += likelihoods.KeyUpScore(tick + kTicksPerUnit * u);
    }
    if (hearing == Hearing::Together) {
        return score + likelihoods.KeyDownScore(tick, shape.keyDowns);
    }
    for (const auto& [first, length] : shape.keyDowns) {
        for (int u = 0; u < length; ++u) {
            score += likelihoods.Llr(tick + kTicksPerUnit * (first + u));
        }
    }
    return score;
}

int GapAfter(int character) {
    return character % kCharactersPerGroup == kCharactersPerGroup - 1 ? kWordGapUnits
                                                                      : kCharacterGapUnits;
}

int LongestAt(int character) {
    int longest = 0;
    for (const char symbol : SymbolsAt(character)) {
        longest = std::max(longest, ShapeOf(symbol).units);
    }
    return longest;
}

/// How much likelier the row digits of `row`, where its decoded path puts them, are than random
/// keying (nats, over the groups heard).
double RowDigitEvidence(const UnitLikelihoods& likelihoods, const DecodedRow& row) {
    double evidence = 0;
    for (int group = 0; group < row.groupsHeard; ++group) {
        const int c = group * kCharactersPerGroup;
        const DecodedCharacter& character = row.characters[static_cast<std::size_t>(c)];
        evidence += CharacterScore(likelihoods, ShapeOf(character.best), character.startTick,
                                   GapAfter(c), Hearing::UnitByUnit);
    }
    return evidence;
}

/// How much likelier the row digits of `row`, where its decoded path puts them, are than the
/// likeliest other digit at each place (nats, over the groups heard). A frame matched in the
/// wrong place has the path force its row digits onto whatever digits were keyed there.
double RowDigitMargin(const UnitLikelihoods& likelihoods, const DecodedRow& row) {
    double margin = 0;
    for (int group = 0; group < row.groupsHeard; ++group) {
        const DecodedCharacter& character =
            row.characters[static_cast<std::size_t>(group * kCharactersPerGroup)];
        const double own = CharacterScore(likelihoods, ShapeOf(character.best), character.startTick,
                                          kCharacterGapUnits, Hearing::UnitByUnit);
        double rival = -std::numeric_limits<double>::infinity();
        for (const char digit : SymbolsAt(1)) {
            const KeyedShape& shape = ShapeOf(digit);
            const std::int64_t lastTick =
                character.startTick + kTicksPerUnit * (shape.units + kCharacterGapUnits - 1);
            if (digit != character.best && lastTick < likelihoods.ReadyTicks()) {
                rival = std::max(rival, CharacterScore(likelihoods, shape, character.startTick,
                                                       kCharacterGapUnits, Hearing::UnitByUnit));
            }
        }
        if (rival > -std::numeric_limits<double>::infinity()) {
            margin += own - rival;
        }
    }
    return margin;
}

/// How `character`'s key-down units were heard: their mean signal-to-noise, and whether the
/// tracker held the tone still under every one.
struct KeyDownHearing {
    double unitSnr = 0;
    bool steady = true;
};

KeyDownHearing HeardKeyDowns(const UnitLikelihoods& likelihoods,
                             const DecodedCharacter& character) {
    KeyDownHearing hearing;
    int units = 0;
    for (const auto& [first, length] : ShapeOf(character.best).keyDowns) {
        for (int u = first; u < first + length; ++u) {
            const std::int64_t tick = character.startTick + kTicksPerUnit * u;
            if (tick >= likelihoods.ReadyTicks()) {
                break;
            }
            hearing.steady = hearing.steady && likelihoods.Steady(tick);
            hearing.unitSnr += likelihoods.UnitSnr(tick);
            ++units;
        }
    }
    hearing.unitSnr /= std::max(units, 1);
    return hearing;
}

/// Quarter units either side of where the path puts a row digit that each digit weighed there
/// may start: the path bends a little to fit the digit it was made to expect.
constexpr std::int64_t kRowDigitSlackTicks = 2 * kTicksPerUnit;

/// How much better the sounds at `row`'s row-digit places fit the same row placed one, two or
/// three groups late or early (nats; the best of these places). A frame matched a group or two
/// off puts its row digit where the next or the last row's was keyed: "1" over "2", for
/// example, which a weak path bends to fit.
double ShiftedRowGain(const UnitLikelihoods& likelihoods, const DecodedRow& row) {
    std::array<double, kGroupsPerRow> own{};
    std::array<double, kGroupsPerRow> next{};
    std::array<double, kGroupsPerRow> previous{};
    const double none = -std::numeric_limits<double>::infinity();
    for (int group = 0; group < row.groupsHeard; ++group) {
        const DecodedCharacter& character =
            row.characters[static_cast<std::size_t>(group * kCharactersPerGroup)];
        const auto score = [&](int digit) {
            if (digit < 1 || digit > kFrameRows) {
                return none;
            }
            const KeyedShape& shape = ShapeOf(static_cast<char>('0' + digit));
            double best = none;
            for (std::int64_t tick = character.startTick - kRowDigitSlackTicks;
                 tick <= character.startTick + kRowDigitSlackTicks; ++tick) {
                const std::int64_t lastTick =
                    tick + kTicksPerUnit * (shape.units + kCharacterGapUnits - 1);
                if (tick >= likelihoods.FirstTick() && lastTick < likelihoods.ReadyTicks()) {
                    best = std::max(best, CharacterScore(likelihoods, shape, tick,
                                                         kCharacterGapUnits, Hearing::UnitByUnit));
                }
            }
            return best;
        };
        const auto g = static_cast<std::size_t>(group);
        own[g] = score(row.row);
        next[g] = score(row.row + 1) - own[g];
        previous[g] = score(row.row - 1) - own[g];
    }
    double most = none;
    for (int shift = 1; shift < kGroupsPerRow; ++shift) {
        double late = 0;
        double early = 0;
        for (int group = 0; group < row.groupsHeard; ++group) {
            const auto g = static_cast<std::size_t>(group);
            if (std::isinf(own[g])) {
                continue;
            }
            if (group >= kGroupsPerRow - shift) {
                late += next[g];
            }
            if (group < shift) {
                early += previous[g];
            }
        }
        most = std::max({most, late, early});
    }
    return most;
}

/// The mean signal-to-noise (dB) of the key-down units of `row`'s value digits from the first
/// to `reached`; 0 when none was reached.
double ValueDigitsSnrDb(const DecodedRow& row, int reached) {
    double sum = 0;
    int heard = 0;
    for (int c = 0; c < reached; ++c) {
        if (c % kCharactersPerGroup != 0) {
            sum += 10 * std::log10(row.characters[static_cast<std::size_t>(c)].unitSnr);
            ++heard;
        }
    }
    return heard > 0 ? sum / heard : 0;
}

/// The probability that the likeliest symbol of `posterior` was sent, its log-odds against
/// each other symbol scaled by `power`.
double Confidence(const std::vector<double>& posterior, std::size_t best, double power) {
    if (posterior[best] <= 0) {
        return 0;
    }
    double sum = 0;
    for (const double p : posterior) {
        sum += std::pow(p / posterior[best], power);
    }
    return 1 / sum;
}

/// Log-likelihood ratio against random keying of the frame start's units from `fromUnit` on,
/// `count` of them, heard from `tick`: a unit contributes log(p(down) / (p(down) / 2 +
/// p(up) / 2)) where the pattern has it down, and log(p(up) / (...)) where up.
double PatternScore(const UnitLikelihoods& likelihoods, std::int64_t tick, int fromUnit,
                    int count) {
    const std::vector<bool>& pattern = FrameStart().keyDown;
    double score = 0;
    for (int u = 0; u < count; ++u) {
        const std::int64_t at = tick + kTicksPerUnit * u;
        score += (pattern[static_cast<std::size_t>(fromUnit + u)] ? likelihoods.Llr(at) : 0.0) +
                 likelihoods.KeyUpScore(at);
    }
    return score;
}

}  // namespace

double ConfidencePowerLine::At(double snrDb) const {
    return atFromDb + perDb * std::clamp(snrDb - fromDb, 0.0, toDb - fromDb);
}

FrameDecoder::FrameDecoder(const FrameDecoderParams& params) : m_params(params) {}

void FrameDecoder::SearchFrom(std::int64_t tick) {
    m_inFrame = false;
    m_searchTick = tick;
    m_candidateTick = -1;
    m_expectedBeforeTick = tick;
}

std::int64_t FrameDecoder::OldestTickNeeded() const {
    if (m_inFrame) {
        return m_frameTick;
    }
    // A start is weighed with the silence before it.
    const std::int64_t from =
        m_candidateTick >= 0 ? std::min(m_candidateTick, m_searchTick) : m_searchTick;
    return from - kTicksPerUnit * kWordGapUnits;
}

std::int64_t FrameDecoder::WordEarlierIfLate(const UnitLikelihoods& likelihoods,
                                             std::int64_t tick) const {
    // Where listening began inside "HI HI" (the tone found late) the start found is the second
    // "HI" taken for the first: "HI" and the first group then fit better from there than
    // "HI HI" does. (On the tuning seeds a true start fits "HI HI" better by 2 nats or more.)
    const int word = FrameStart().secondWordUnit;
    const int count = static_cast<int>(FrameStart().keyDown.size()) - word;
    const double asFirst = PatternScore(likelihoods, tick, 0, count);
    const double asSecond = PatternScore(likelihoods, tick, word, count);
    return asSecond > asFirst ? tick - kTicksPerUnit * word : tick;
}

double FrameDecoder::StartScore(const UnitLikelihoods& likelihoods, std::int64_t tick) const {
    double score = 0;
    // A frame follows at least a word gap of silence: a "HI HI" matched on the dots of a
    // frame's own digits has keying just before it.
    for (int u = 1; u <= kWordGapUnits && tick - kTicksPerUnit * u >= likelihoods.FirstTick();
         ++u) {
        score += likelihoods.KeyUpScore(tick - kTicksPerUnit * u);
    }
    return score +
           PatternScore(likelihoods, tick, 0, static_cast<int>(FrameStart().keyDown.size()));
}

void FrameDecoder::StartFrame(std::int64_t tick) {
    m_inFrame = true;
    m_frameTick = tick;
    m_confirmed = false;
    m_heldFirstRow.reset();
    m_shiftedGain = 0;
    m_rowsEmitted = 0;
    m_alpha.clear();
    m_scoreOffset.clear();
    Lattice first;
    const int slack = m_params.firstGroupSlack;
    first.first = tick + kTicksPerUnit * FrameStart().firstGroupUnit - slack;
    for (int i = -slack; i <= slack; ++i) {
        first.chance.push_back(1.0 / (1 + std::abs(i)));
    }
    m_alpha.push_back(std::move(first));
}

bool FrameDecoder::CanStep(const UnitLikelihoods& likelihoods) const {
    const auto character = static_cast<int>(m_alpha.size()) - 1;
    const Lattice& alpha = m_alpha.back();
    // Once the input has ended, a character is weighed on as much of it as was heard.
    const int units = m_inputEnded ? 1 : LongestAt(character) + GapAfter(character);
    const std::int64_t lastUnitTick =
        alpha.End() - 1 + kTicksPerUnit * static_cast<std::int64_t>(units - 1);
    return lastUnitTick < likelihoods.ReadyTicks() && alpha.first >= likelihoods.FirstTick();
}

void FrameDecoder::Step(const UnitLikelihoods& likelihoods) {
    const auto character = static_cast<int>(m_alpha.size()) - 1;
    const Lattice& alpha = m_alpha.back();
    const std::vector<char>& symbols = SymbolsAt(character);
    const int gap = GapAfter(character);
    const bool groupEnds = gap == kWordGapUnits;

    m_scores.assign(alpha.chance.size() * symbols.size(), 0.0);
    double offset = -std::numeric_limits<double>::infinity();
    int shortest = std::numeric_limits<int>::max();
    int longest = 0;
    for (std::size_t s = 0; s < symbols.size(); ++s) {
        const KeyedShape& shape = ShapeOf(symbols[s]);
        shortest = std::min(shortest, shape.units);
        longest = std::max(longest, shape.units);
        for (std::size_t i = 0; i < alpha.chance.size(); ++i) {
            if (alpha.chance[i] > 0) {
                const double score = CharacterScore(
                    likelihoods, shape, alpha.first + static_cast<std::int64_t>(i), gap);
                m_scores[s * alpha.chance.size() + i] = score;
                offset = std::max(offset, score);
            }
        }
    }
    const int slip = groupEnds ? 1 : 0;
    Lattice next;
    next.first = alpha.first + kTicksPerUnit * (shortest + gap) - slip;
    next.chance.assign(static_cast<std::size_t>(alpha.End() - 1 + kTicksPerUnit * (longest + gap) +
                                                slip - next.first + 1),
                       0.0);
    const double slipChance = groupEnds ? m_params.groupSlipChance : 0.0;
    for (std::size_t s = 0; s < symbols.size(); ++s) {
        const int units = ShapeOf(symbols[s]).units;
        for (std::size_t i = 0; i < alpha.chance.size(); ++i) {
            if (alpha.chance[i] <= 0) {
                continue;
            }
            const double weight =
                alpha.chance[i] * std::exp(m_scores[s * alpha.chance.size() + i] - offset);
            const std::int64_t to =
                alpha.first + static_cast<std::int64_t>(i) + kTicksPerUnit * (units + gap);
            const auto at = static_cast<std::size_t>(to - next.first);
            next.chance[at] += weight * (1 - 2 * slipChance);
            if (slip > 0) {
                next.chance[at - 1] += weight * slipChance;
                next.chance[at + 1] += weight * slipChance;
            }
        }
    }
    // Scaled to a maximum of 1, and trimmed of starts too unlikely to matter.
    const double peak = *std::max_element(next.chance.begin(), next.chance.end());
    std::size_t from = 0;
    std::size_t to = next.chance.size();
    for (double& chance : next.chance) {
        chance = peak > 0 ? chance / peak : 0.0;
        if (chance < m_params.pruneShare) {
            chance = 0;
        }
    }
    while (from < to && next.chance[from] == 0) {
        ++from;
    }
    while (to > from && next.chance[to - 1] == 0) {
        --to;
    }
    if (from == to) {
        // Nothing can follow (cannot happen with finite scores); keep the likeliest place.
        from = 0;
        to = 1;
        next.chance[0] = 1;
    }
    next.chance = std::vector<double>(next.chance.begin() + static_cast<std::ptrdiff_t>(from),
                                      next.chance.begin() + static_cast<std::ptrdiff_t>(to));
    next.first += static_cast<std::int64_t>(from);
    m_scoreOffset.push_back(offset);
    m_alpha.push_back(std::move(next));
}

FrameDecoder::Lattice FrameDecoder::SilenceToCommonEnd(const UnitLikelihoods& likelihoods,
                                                       const Lattice& ends) {
    const std::int64_t commonEnd = std::min(ends.End(), likelihoods.ReadyTicks());
    Lattice silence{ends.first, std::vector<double>(ends.chance.size(), 0.0)};
    double loudest = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < ends.chance.size(); ++i) {
        double score = 0;
        for (std::int64_t tick = ends.first + static_cast<std::int64_t>(i);
             tick + kTicksPerUnit <= commonEnd; tick += kTicksPerUnit) {
            score += likelihoods.KeyUpScore(tick);
        }
        silence.chance[i] = score;
        loudest = std::max(loudest, score);
    }
    for (double& chance : silence.chance) {
        chance = std::exp(chance - loudest);
    }
    return silence;
}

void FrameDecoder::EmitRow(const UnitLikelihoods& likelihoods, int row, int groupsHeard,
                           DecodedFrameParts& parts) {
    const auto last = static_cast<int>(m_alpha.size()) - 1;
    const int firstCharacter = row * kCharactersPerRow;
    // Backward from the last character reached: beta[c] is the chance of what follows c's start.
    std::vector<Lattice> beta(static_cast<std::size_t>(last + 1));
    Lattice& end = beta[static_cast<std::size_t>(last)];
    if (last == kCharactersPerFrame) {
        end = SilenceToCommonEnd(likelihoods, m_alpha.back());
    } else {
        end.first = m_alpha.back().first;
        end.chance.assign(m_alpha.back().chance.size(), 1.0);
    }

    DecodedRow decoded;
    decoded.row = row + 1;
    /// A character's posterior over its symbols, its likeliest, and whether the tone held still.
    struct Weighed {
        std::vector<double> posterior;
        std::size_t best = 0;
        bool steady = true;
    };
    std::array<Weighed, kCharactersPerRow> weighed;
    decoded.groupsHeard = groupsHeard;
    for (int c = last - 1; c >= firstCharacter; --c) {
        const Lattice& alpha = m_alpha[static_cast<std::size_t>(c)];
        const Lattice& after = beta[static_cast<std::size_t>(c + 1)];
        const std::vector<char>& symbols = SymbolsAt(c);
        const int gap = GapAfter(c);
        const double slipChance = gap == kWordGapUnits ? m_params.groupSlipChance : 0.0;
        Lattice& before = beta[static_cast<std::size_t>(c)];
        before.first = alpha.first;
        before.chance.assign(alpha.chance.size(), 0.0);
        std::vector<double> posterior(symbols.size(), 0.0);
        std::vector<double> startChance(alpha.chance.size(), 0.0);
        for (std::size_t s = 0; s < symbols.size(); ++s) {
            const KeyedShape& shape = ShapeOf(symbols[s]);
            for (std::size_t i = 0; i < alpha.chance.size(); ++i) {
                if (alpha.chance[i] <= 0) {
                    continue;
                }
                const std::int64_t tick = alpha.first + static_cast<std::int64_t>(i);
                const std::int64_t to = tick + kTicksPerUnit * (shape.units + gap);
                const double follows = (1 - 2 * slipChance) * after.At(to) +
                                       slipChance * (after.At(to - 1) + after.At(to + 1));
                const double emitted = std::exp(CharacterScore(likelihoods, shape, tick, gap) -
                                                m_scoreOffset[static_cast<std::size_t>(c)]) *
                                       follows;
                before.chance[i] += emitted;
                posterior[s] += alpha.chance[i] * emitted;
                startChance[i] += alpha.chance[i] * emitted;
            }
        }
        const double peak = *std::max_element(before.chance.begin(), before.chance.end());
        for (double& chance : before.chance) {
            chance = peak > 0 ? chance / peak : 0.0;
        }
        if (c >= firstCharacter + kCharactersPerRow) {
            continue;
        }
        const auto best = static_cast<std::size_t>(
            std::max_element(posterior.begin(), posterior.end()) - posterior.begin());
        const auto bestStart = static_cast<std::int64_t>(
            std::max_element(startChance.begin(), startChance.end()) - startChance.begin());
        DecodedCharacter& character =
            decoded.characters[static_cast<std::size_t>(c - firstCharacter)];
        character.best = symbols[best];
        character.startTick = alpha.first + bestStart;
        const KeyDownHearing hearing = HeardKeyDowns(likelihoods, character);
        character.unitSnr = hearing.unitSnr;
        weighed[static_cast<std::size_t>(c - firstCharacter)] = {std::move(posterior), best,
                                                                 hearing.steady};
    }
    // A digit's confidence waits for the whole row: where the tone swings, it is weighed by how
    // well the row is heard.
    const int reached = std::min(last, firstCharacter + kCharactersPerRow);
    const double rowSnrDb = ValueDigitsSnrDb(decoded, reached - firstCharacter);
    const double rowShare = rowSnrDb < m_params.weakRowSnrDb ? m_params.weakRowPowerShare : 1.0;
    for (int c = firstCharacter; c < reached; ++c) {
        const auto i = static_cast<std::size_t>(c - firstCharacter);
        DecodedCharacter& character = decoded.characters[i];
        const double power =
            weighed[i].steady
                ? rowShare * m_params.steadyConfidencePower.At(10 * std::log10(character.unitSnr))
                : m_params.swingingConfidencePower.At(rowSnrDb);
        character.confidence = Confidence(weighed[i].posterior, weighed[i].best, power);
    }
    // Characters the input never reached stay unheard.
    for (int c = std::max(last, firstCharacter); c < firstCharacter + kCharactersPerRow; ++c) {
        DecodedCharacter& character =
            decoded.characters[static_cast<std::size_t>(c - firstCharacter)];
        character.best = SymbolsAt(c).size() == 1 ? SymbolsAt(c)[0] : '0';
        character.confidence = 0;
        character.startTick = m_alpha.back().first;
    }
    DecodedPart part;
    part.row = decoded;
    parts.push_back(part);
}

void FrameDecoder::EndFrame() {
    const Lattice& end = m_alpha.back();
    const auto likeliest = static_cast<std::int64_t>(
        std::max_element(end.chance.begin(), end.chance.end()) - end.chance.begin());
    // The next frame starts a word gap or more after the last group: from where a group would.
    SearchFrom(end.first + likeliest - kTicksPerUnit);
    ExpectFrameBefore(m_searchTick + kTicksPerUnit * m_params.nextFrameWithinUnits);
}

bool FrameDecoder::Search(const UnitLikelihoods& likelihoods) {
    const auto patternTicks =
        static_cast<std::int64_t>(kTicksPerUnit * (FrameStart().keyDown.size() - 1));
    // The best start is taken once every start overlapping it has been looked at: a start a
    // word early or late matches part of "HI HI" too, and in a weak signal may pass first.
    const std::int64_t settleTicks = patternTicks;
    for (;;) {
        m_searchTick = std::max(m_searchTick, likelihoods.FirstTick());
        if (m_searchTick + patternTicks >= likelihoods.ReadyTicks()) {
            return false;
        }
        const double score = StartScore(likelihoods, m_searchTick);
        // Right after a frame the next one is expected: a weaker "HI HI" (in a fade) will do.
        const double threshold = m_searchTick < m_expectedBeforeTick
                                     ? m_params.expectedFrameStartThreshold
                                     : m_params.weakFrameStartThreshold;
        if (score > threshold && (m_candidateTick < 0 || score > m_candidateScore)) {
            m_candidateTick = m_searchTick;
            m_candidateScore = score;
        }
        if (m_candidateTick >= 0 && m_searchTick >= m_candidateTick + settleTicks) {
            m_frameStartScore = m_candidateScore;
            m_weakStart = m_candidateTick >= m_expectedBeforeTick &&
                          m_candidateScore < m_params.frameStartThreshold;
            m_foundTick = m_candidateTick;
            StartFrame(WordEarlierIfLate(likelihoods, m_candidateTick));
            m_candidateTick = -1;
            return true;
        }
        ++m_searchTick;
    }
}

void FrameDecoder::Advance(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts) {
    for (;;) {
        if (!m_inFrame && !Search(likelihoods)) {
            return;
        }
        while (m_inFrame && CanStep(likelihoods)) {
            Step(likelihoods);
            const auto reached = static_cast<int>(m_alpha.size()) - 1;
            // A row is given once the next group's row digit has been weighed, which places
            // the end of the row's last digit.
            const bool rowDone = reached == (m_rowsEmitted + 1) * kCharactersPerRow + 1 ||
                                 reached == kCharactersPerFrame;
            if (rowDone) {
                EmitRow(likelihoods, m_rowsEmitted, kGroupsPerRow, parts);
                if (!GiveRow(likelihoods, parts)) {
                    break;
                }
                ++m_rowsEmitted;
            }
            if (reached == kCharactersPerFrame) {
                EndFrame();
            }
        }
        if (m_inFrame) {
            return;
        }
    }
}

void FrameDecoder::Finish(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts) {
    m_inputEnded = true;
    Advance(likelihoods, parts);
    if (!m_inFrame) {
        return;
    }
    const auto reached = static_cast<int>(m_alpha.size()) - 1;
    const int firstCharacter = m_rowsEmitted * kCharactersPerRow;
    if (reached > firstCharacter) {
        const int groups =
            (reached - firstCharacter + kCharactersPerGroup - 1) / kCharactersPerGroup;
        EmitRow(likelihoods, m_rowsEmitted, std::min(groups, kGroupsPerRow), parts);
        GiveRow(likelihoods, parts);
    }
    m_inFrame = false;
}

bool FrameDecoder::RowDigitsStandOut(const UnitLikelihoods& likelihoods, const DecodedRow& row,
                                     double evidenceNeeded) const {
    return RowDigitEvidence(likelihoods, row) >= evidenceNeeded &&
           RowDigitMargin(likelihoods, row) >= m_params.rowDigitMargin;
}

bool FrameDecoder::GiveRow(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts) {
    const DecodedRow& row = parts.back().row;
    // A frame whose rows keep sounding a group or more off gives no more rows: it was matched
    // in the wrong place, and the next frame is looked for from just after its start.
    const double shiftedGain = ShiftedRowGain(likelihoods, row);
    m_shiftedGain += shiftedGain;
    if (m_shiftedGain > (m_weakStart ? m_params.weakShiftedFrameGain : m_params.shiftedFrameGain)) {
        return GiveUpFrame(parts);
    }
    // A first row that sounds somewhat off waits for the second to bear the frame out.
    if (!m_confirmed && m_rowsEmitted == 0 && shiftedGain > m_params.doubtfulFirstRowGain) {
        return HoldFirstRow(parts);
    }
    if (m_confirmed) {
        // A later row whose row digits do not stand out is not given: its digits may sit
        // elsewhere than the path says, or the channel has lost the beacon.
        if (!RowDigitsStandOut(likelihoods, row, m_params.laterRowEvidence)) {
            parts.pop_back();
        }
        return true;
    }
    // A frame start matched on the beacon's own digits puts the row digits where something
    // else was keyed.
    const double evidence = m_weakStart ? m_params.weakRowDigitEvidence : m_params.rowDigitEvidence;
    const bool standsOut =
        RowDigitsStandOut(likelihoods, row, evidence * row.groupsHeard / kGroupsPerRow);
    // A weak "HI HI" is borne out by its first two rows: the first waits for the second.
    if (standsOut && m_weakStart && m_rowsEmitted == 0) {
        return HoldFirstRow(parts);
    }
    if (standsOut && (!m_weakStart || m_heldFirstRow)) {
        m_confirmed = true;
        // "HI HI" is given now, then a first row held back if its row digits stand out at all,
        // then the row that confirms the frame.
        auto at = parts.end() - 1;
        if (m_heldFirstRow &&
            RowDigitsStandOut(likelihoods, m_heldFirstRow->row, m_params.laterRowEvidence)) {
            at = parts.insert(at, *m_heldFirstRow);
        }
        m_heldFirstRow.reset();
        DecodedPart start;
        start.frameStart = true;
        start.frameStartTick = m_frameTick;
        parts.insert(at, start);
        return true;
    }
    // A clear "HI HI" whose first row faded may still be borne out by the second.
    if (m_rowsEmitted == 0 && m_frameStartScore >= m_params.frameStartThreshold) {
        return HoldFirstRow(parts);
    }
    return GiveUpFrame(parts);
}

bool FrameDecoder::HoldFirstRow(DecodedFrameParts& parts) {
    m_heldFirstRow = parts.back();
    parts.pop_back();
    return true;
}

bool FrameDecoder::GiveUpFrame(DecodedFrameParts& parts) {
    parts.pop_back();
    m_heldFirstRow.reset();
    const std::int64_t after = m_foundTick + 1;
    const std::int64_t expected = m_expectedBeforeTick;
    SearchFrom(after);
    ExpectFrameBefore(expected);
    return false;
}

}  // namespace ao07::audio
