#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "audio/beacon_listener.h"
#include "audio/synth/beacon_synth.h"

namespace ao07::audio {
namespace {

using synth::BeaconSynth;
using synth::SynthSettings;

class LineCollector : public ListenEvents {
public:
    void LineHeard(const HeardLine& line) override { lines.push_back(line); }
    std::vector<HeardLine> lines;
};

/// The lines the engine copies from `synth`'s audio, pushed in blocks of `block` samples.
std::vector<HeardLine> CopyAudio(BeaconSynth& synth, const SynthSettings& settings,
                                 std::size_t block, std::vector<synth::SentFrame>* sent) {
    std::vector<float> audio(static_cast<std::size_t>(synth.TotalSamples()));
    synth.Render(audio);
    if (sent != nullptr) {
        *sent = synth.SentFrames();
    }
    LineCollector collector;
    ListenSettings listen;
    listen.sampleRateHz = settings.sampleRateHz;
    BeaconListener listener(listen, collector);
    for (std::size_t at = 0; at < audio.size(); at += block) {
        listener.Push(
            std::span<const float>(audio.data() + at, std::min(block, audio.size() - at)));
    }
    listener.Finish();
    return collector.lines;
}

/// The lines the engine copies from `settings`' audio with `frames` random frames, pushed in
/// blocks of `block` samples.
std::vector<HeardLine> Copy(const SynthSettings& settings, int frames, std::size_t block,
                            std::vector<synth::SentFrame>* sent = nullptr) {
    synth::RandomSource digits(settings.seed + 1000);
    BeaconSynth synth(settings, synth::RandomFrames(frames, digits));
    return CopyAudio(synth, settings, block, sent);
}

struct Tally {
    int digits = 0;
    int wrong = 0;
    int unheard = 0;
    int rows = 0;
};

/// Value digits of the sent frames against the rows heard, row by row in order.
Tally Score(const std::vector<synth::SentFrame>& sent, const std::vector<HeardLine>& lines) {
    Tally tally;
    std::vector<std::string> heardRows;
    for (const HeardLine& line : lines) {
        if (line.kind == HeardLineKind::Row) {
            heardRows.push_back(line.text);
        }
    }
    tally.rows = static_cast<int>(heardRows.size());
    std::size_t next = 0;
    for (const synth::SentFrame& frame : sent) {
        for (const std::string& row : frame.frame.rows) {
            // A missing row counts all its digits as not copied.
            const bool heard = next < heardRows.size() && heardRows[next][0] == row[0];
            for (std::size_t pos = 1; pos < row.size(); pos += (pos % 4 == 1 ? 1 : 3)) {
                ++tally.digits;
                if (!heard || heardRows[next][pos] == 'x') {
                    ++tally.unheard;
                } else if (heardRows[next][pos] != row[pos]) {
                    ++tally.wrong;
                }
            }
            next += heard ? 1 : 0;
        }
    }
    return tally;
}

/// Value digits written wrong, each heard row against the row of that number in the frame sent
/// last before it: rows missing or given out of order do not shift the rest.
int WrongDigitsInPlace(const std::vector<synth::SentFrame>& sent,
                       const std::vector<HeardLine>& lines) {
    int wrong = 0;
    for (const HeardLine& line : lines) {
        const auto after = std::find_if(sent.begin(), sent.end(), [&](const synth::SentFrame& f) {
            return f.startSeconds > line.startSeconds;
        });
        if (line.kind != HeardLineKind::Row || after == sent.begin()) {
            continue;
        }
        const std::string& row =
            std::prev(after)->frame.rows.at(static_cast<std::size_t>(line.row - 1));
        for (std::size_t pos = 1; pos < row.size(); pos += (pos % 4 == 1 ? 1 : 3)) {
            wrong += line.text[pos] != 'x' && line.text[pos] != row[pos];
        }
    }
    return wrong;
}

/// The lines copied from a weak pass of one frame with drift 10 Hz/s, wobble +-20 Hz and fading
/// 10 dB together, the tone drawn from the seed between 400 and 600 Hz.
std::vector<HeardLine> CopyFadingPass(std::uint64_t seed, double snrDb,
                                      std::vector<synth::SentFrame>& sent) {
    SynthSettings settings;
    settings.seed = seed;
    synth::RandomSource random(settings.seed);
    settings.snrDb = snrDb;
    settings.toneHz = 400 + 200 * random.Uniform();
    settings.driftHzPerSecond = 10;
    settings.wobbleHz = 20;
    settings.fadeDepthDb = 10;
    BeaconSynth synth(settings, synth::RandomFrames(1, random));
    return CopyAudio(synth, settings, 4096, &sent);
}

/// The lines copied from three frames as the benchmark makes a pass of `seed`: the tone drawn
/// between 400 and 1400 Hz, then the frames.
std::vector<HeardLine> CopyBenchmarkPass(std::uint64_t seed, SynthSettings settings,
                                         std::vector<synth::SentFrame>& sent) {
    synth::RandomSource random(seed);
    settings.seed = seed;
    settings.toneHz = 400 + 1000 * random.Uniform();
    BeaconSynth synth(settings, synth::RandomFrames(3, random));
    return CopyAudio(synth, settings, 4096, &sent);
}

/// The lines copied from one frame keyed at `wordsPerMinute` on a steady tone of `toneHz`.
std::vector<HeardLine> CopySteadyFrame(std::uint64_t seed, double snrDb, double toneHz,
                                       double wordsPerMinute, std::vector<synth::SentFrame>& sent) {
    SynthSettings settings;
    settings.seed = seed;
    settings.snrDb = snrDb;
    settings.toneHz = toneHz;
    settings.wordsPerMinute = wordsPerMinute;
    return Copy(settings, 1, 4096, &sent);
}

/// How many "HI HI" were heard; each is expected where the first frame was sent.
int MarkersAtFirstFrame(const std::vector<HeardLine>& lines,
                        const std::vector<synth::SentFrame>& sent) {
    int markers = 0;
    for (const HeardLine& line : lines) {
        if (line.kind == HeardLineKind::FrameMarker) {
            ++markers;
            EXPECT_NEAR(line.startSeconds, sent.at(0).startSeconds, 0.1);
        }
    }
    return markers;
}

struct Condition {
    const char* name;
    double snrDb;
    double wordsPerMinute;
    double driftHzPerSecond;
    double wobbleHz;
    double fadeDepthDb;
    bool otherStation;
    double levelDbfs;
    double sampleRateHz;
    double toneHz;
    double mostUnheardShare;  ///< of the value digits, written 'x'
};

// Moderate levels of each impairment; seeds 1..99 are the tests' own.
const Condition kConditions[] = {
    {"clean", 10, 20, 0, 0, 0, false, -20, 8000, 800, 0.0},
    {"weak", -10, 20, 0, 0, 0, false, -20, 8000, 1100, 0.05},
    // A steady tone is heard a character at a time, its phase carried between the units.
    {"weaker, steady tone", -13, 20, 0, 0, 0, false, -20, 8000, 700, 0.08},
    {"slow", 0, 12, 0, 0, 0, false, -20, 8000, 500, 0.05},
    {"drift wobble fading", 0, 20, 10, 20, 10, false, -20, 8000, 900, 0.1},
    {"drift wobble fading, weak", -5, 20, 10, 20, 10, false, -20, 8000, 600, 0.1},
    {"another station 150 Hz away", -5, 20, 0, 0, 0, true, -20, 8000, 700, 0.05},
    {"quiet recording", 0, 20, 0, 0, 0, false, -40, 8000, 1400, 0.05},
    {"clipped recording", 10, 20, 0, 0, 0, false, 6, 8000, 600, 0.05},
    {"48 kHz", 0, 20, 0, 0, 0, false, -20, 48000, 1000, 0.05},
};

class ImpairedAudio : public ::testing::TestWithParam<Condition> {};

TEST_P(ImpairedAudio, CopiesWithoutWrongDigits) {
    const Condition& condition = GetParam();
    SynthSettings settings;
    settings.seed = 11;
    settings.snrDb = condition.snrDb;
    settings.wordsPerMinute = condition.wordsPerMinute;
    settings.driftHzPerSecond = condition.driftHzPerSecond;
    settings.wobbleHz = condition.wobbleHz;
    settings.fadeDepthDb = condition.fadeDepthDb;
    settings.interferer.present = condition.otherStation;
    settings.interferer.offsetHz = 150;
    settings.levelDbfs = condition.levelDbfs;
    settings.sampleRateHz = condition.sampleRateHz;
    settings.toneHz = condition.toneHz;
    std::vector<synth::SentFrame> sent;
    const Tally tally = Score(sent, Copy(settings, 2, 4096, &sent));
    EXPECT_EQ(tally.wrong, 0) << condition.name;
    EXPECT_LE(tally.unheard, condition.mostUnheardShare * tally.digits) << condition.name;
    EXPECT_LE(tally.rows, 12) << condition.name;
}

INSTANTIATE_TEST_SUITE_P(Listening, ImpairedAudio, ::testing::ValuesIn(kConditions));

// Weak passes with drift 10 Hz/s, wobble +-20 Hz and fading 10 dB together (the tone drawn
// from the seed between 400 and 600 Hz):
// - in one, the second channel finds the frame again after the first has finished giving it:
//   a frame is given once;
// - in another, the first row fades below what confirms a frame: the clear "HI HI" before it
//   holds the row back until the second row bears the frame out;
// - in a third, a channel loses the beacon in a trough and its path its place: rows whose row
//   digits are not heard where the path puts them are not given;
// - in a fourth (a tuning pass of the benchmark), "HI HI" falls in a trough and scores below
//   what starts a frame unasked: the frame was lost until a weaker start could be borne out by
//   the rows after it.
TEST(BeaconListener, FadingFramesAreGivenOnceFromTheirStart) {
    struct Case {
        std::uint64_t seed;
        double snrDb;
        int fewestRows;
    };
    const Case cases[] = {{99, -12, 1}, {2, -10, 6}, {41, -8, 3}, {5096, -5, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        std::vector<synth::SentFrame> sent;
        const std::vector<HeardLine> lines = CopyFadingPass(c.seed, c.snrDb, sent);
        const Tally tally = Score(sent, lines);
        EXPECT_EQ(MarkersAtFirstFrame(lines, sent), 1);
        EXPECT_GE(tally.rows, c.fewestRows);
        EXPECT_LE(tally.rows, 6);
        EXPECT_EQ(tally.wrong, 0);
    }
}

// Weak and fast, the tone is found in the recording's first seconds only as "HI HI" is sent, too
// late for the first "HI": the second is heard as the first, and the frame is placed from it.
TEST(BeaconListener, FrameWhoseFirstHiWasMissedIsGivenInPlace) {
    struct Case {
        std::uint64_t seed;
        double wordsPerMinute;
        double snrDb;
    };
    const Case cases[] = {{78, 35, -13}, {29, 35, -12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        std::vector<synth::SentFrame> sent;
        const std::vector<HeardLine> lines =
            CopySteadyFrame(c.seed, c.snrDb, SynthSettings{}.toneHz, c.wordsPerMinute, sent);
        const Tally tally = Score(sent, lines);
        EXPECT_EQ(MarkersAtFirstFrame(lines, sent), 1);
        EXPECT_EQ(tally.rows, 6);
        EXPECT_EQ(tally.wrong, 0);
    }
}

// Where the tone swings and fades, the unit likelihoods claim more than the sound bears out: a
// digit's confidence is tempered there, or these passes get digits written wrong (one to five
// each) at the default threshold.
TEST(BeaconListener, DigitsHeardInFadesAreWrittenOnlyWhenSure) {
    struct Case {
        std::uint64_t seed;
        double snrDb;
    };
    const Case cases[] = {{9, -10}, {23, -10}, {48, -10}, {11, -8}, {34, -8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        std::vector<synth::SentFrame> sent;
        const Tally tally = Score(sent, CopyFadingPass(c.seed, c.snrDb, sent));
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_GE(tally.digits - tally.unheard, tally.digits / 5);
    }
}

TEST(BeaconListener, SteadyToneHeardWellHasEveryDigitWritten) {
    // At -13 dB each of these frames had one or two right digits written "x": the first five
    // while the confidence of a steady tone heard well was its likelihoods' own, the last
    // while its key-down level was fitted on windows placed by the clock alone.
    for (const std::uint64_t seed : {3, 6, 8, 14, 23, 1}) {
        SCOPED_TRACE(seed);
        synth::RandomSource random(seed);
        const double toneHz = 400 + 600 * random.Uniform();
        std::vector<synth::SentFrame> sent;
        const Tally tally =
            Score(sent, CopySteadyFrame(seed, -13, toneHz, SynthSettings{}.wordsPerMinute, sent));
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_EQ(tally.unheard, 0);
    }
}

TEST(BeaconListener, SwingingToneHeardWellHasEveryDigitWritten) {
    // Fading passes at -3 dB: each had two or three right digits written "x" while a digit's
    // confidence where the tone swings was tempered alike in rows heard well and in fades.
    for (const std::uint64_t seed : {12, 40, 46, 51, 60}) {
        SCOPED_TRACE(seed);
        std::vector<synth::SentFrame> sent;
        const Tally tally = Score(sent, CopyFadingPass(seed, -3, sent));
        EXPECT_EQ(tally.rows, 6);
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_EQ(tally.unheard, 0);
    }
}

TEST(BeaconListener, FrameMatchedGroupsOffIsNotGiven) {
    // A weak pass of three frames (a tuning pass of the benchmark) whose first "HI HI" is heard
    // two groups late: every row of that frame had its row digits forced over the next row's,
    // and most of its value digits were written wrong. Once rows were checked against rows a
    // group off, 7 of the first row's still were, until it waited for the second.
    for (const double snrDb : {-16.0, -15.0}) {
        SCOPED_TRACE(snrDb);
        SynthSettings settings;
        settings.snrDb = snrDb;
        std::vector<synth::SentFrame> sent;
        const std::vector<HeardLine> lines = CopyBenchmarkPass(5093, settings, sent);
        EXPECT_EQ(WrongDigitsInPlace(sent, lines), 0);
    }
}

TEST(BeaconListener, FirstFrameWaitsForASettledClock) {
    // The unit clock read from the first 9 s of these passes placed the end of the first frame
    // two or more units off: copied with it, the frame had a digit written wrong and eight
    // written "x" (seed 58, whose later frames had none) or one written "x" (seed 46) at -14 dB.
    for (const std::uint64_t seed : {58, 46}) {
        SCOPED_TRACE(seed);
        SynthSettings settings;
        settings.snrDb = -14;
        std::vector<synth::SentFrame> sent;
        const std::vector<HeardLine> lines = CopyBenchmarkPass(seed, settings, sent);
        sent.resize(1);
        const Tally tally = Score(sent, lines);
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_EQ(tally.unheard, 0);
    }
}

TEST(BeaconListener, FastDriftingToneIsCopiedFromItsFirstFrame) {
    // A tone drifting 20 Hz/s, found in its first seconds. Without starting again the tracker's
    // filter that had lost it, these passes had digits of their first frame written "x" at
    // -11 dB; heard again from the kept audio, which began where the tone was some 200 Hz away,
    // their first frame was lost or matched a group late at -14 dB.
    const struct {
        std::uint64_t seed;
        double snrDb;
    } cases[] = {{8, -11}, {30, -11}, {12, -14}, {40, -14}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        SynthSettings settings;
        settings.snrDb = c.snrDb;
        settings.driftHzPerSecond = 20;
        std::vector<synth::SentFrame> sent;
        const std::vector<HeardLine> lines = CopyBenchmarkPass(c.seed, settings, sent);
        sent.resize(1);
        const Tally tally = Score(sent, lines);
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_EQ(tally.unheard, 0);
    }
}

TEST(BeaconListener, RecordingThatStopsWithTheFrameHasItsLastDigitCopied) {
    // The last digit waited for the gap after it and for a full amplitude window, which a
    // recording stopped with the frame's keying (or 0.3 s later) does not hold: it was written
    // "x" even at 0 dB.
    for (const double tailSeconds : {0.0, 0.3}) {
        for (const std::uint64_t seed : {5, 7}) {
            SCOPED_TRACE(seed);
            SynthSettings settings;
            settings.seed = seed;
            settings.snrDb = 0;
            settings.tailSeconds = tailSeconds;
            std::vector<synth::SentFrame> sent;
            const Tally tally = Score(sent, Copy(settings, 1, 4096, &sent));
            EXPECT_EQ(tally.wrong, 0) << tailSeconds;
            EXPECT_EQ(tally.unheard, 0) << tailSeconds;
        }
    }
}

TEST(BeaconListener, FrameStartingInsideOneGivenIsNotGiven) {
    // Beside another station (a tuning pass of the benchmark), a second channel found "HI HI"
    // and a row 21 s into the first frame, and gave them once the next frame had begun.
    SynthSettings settings;
    settings.snrDb = -14;
    settings.interferer.present = true;
    settings.interferer.offsetHz = 150;
    std::vector<synth::SentFrame> sent;
    const std::vector<HeardLine> lines = CopyBenchmarkPass(5070, settings, sent);
    const auto markers = std::count_if(lines.begin(), lines.end(), [](const HeardLine& line) {
        return line.kind == HeardLineKind::FrameMarker;
    });
    EXPECT_EQ(markers, 3);
    EXPECT_EQ(Score(sent, lines).rows, 18);
}

TEST(BeaconListener, EachGroupIsReportedWithTheToneAndLevelItWasHeardAt) {
    // Rows come out seconds after they were keyed: a drifting tone has moved on by then, and
    // after the last row there is only noise.
    struct Case {
        std::uint64_t seed;
        double snrDb;
        double toneHz;
        double driftHzPerSecond;
    };
    for (const Case& c : {Case{1, -5, 700, 10}, Case{2, 0, 1200, -10}}) {
        SCOPED_TRACE(c.seed);
        SynthSettings settings;
        settings.seed = c.seed;
        settings.snrDb = c.snrDb;
        settings.toneHz = c.toneHz;
        settings.driftHzPerSecond = c.driftHzPerSecond;
        int groups = 0;
        for (const HeardLine& line : Copy(settings, 1, 4096)) {
            for (const HeardGroup& group : line.groups) {
                // Its characters start over about two seconds from the group's start.
                const double middleSeconds = group.startSeconds + 1;
                EXPECT_NEAR(group.signal.toneHz, c.toneHz + c.driftHzPerSecond * middleSeconds, 5)
                    << group.startSeconds;
                EXPECT_NEAR(group.signal.snrDb, c.snrDb, 2) << group.startSeconds;
                ++groups;
            }
        }
        EXPECT_EQ(groups, 24);
    }
}

TEST(BeaconListener, NoiseAloneGivesNoFrame) {
    SynthSettings settings;
    settings.seed = 12;
    settings.leadSeconds = 120;
    settings.tailSeconds = 0;
    for (const HeardLine& line : Copy(settings, 0, 4096)) {
        EXPECT_NE(line.kind, HeardLineKind::Row) << line.text;
        EXPECT_NE(line.kind, HeardLineKind::FrameMarker) << line.text;
    }
}

TEST(BeaconListener, BlockSizeChangesNothing) {
    SynthSettings settings;
    settings.seed = 13;
    settings.snrDb = -3;
    auto texts = [&](std::size_t block) {
        std::vector<std::string> result;
        for (const HeardLine& line : Copy(settings, 1, block)) {
            result.push_back(line.text);
        }
        return result;
    };
    const std::vector<std::string> large = texts(65536);
    EXPECT_EQ(large.size(), 7u);
    for (const std::size_t block : {std::size_t{37}, std::size_t{1000}}) {
        EXPECT_EQ(texts(block), large) << block;
    }
}

TEST(BeaconListener, SteadyToneKeepsItsPhaseThroughTheTrackersWander) {
    // Twelve frames each. Steady at -15 dB: 81 right digits written "x" while a character's
    // phase was heard against the tracker's tone, which wanders by tenths of a hertz; 69 once
    // the tone is placed again over each window. Drifting 10 Hz/s at -13 dB: placed against a
    // fixed reference tone, 15 digits written wrong and 67 "x"; none wrong and 28 "x" since.
    struct Case {
        double driftHzPerSecond;
        double snrDb;
        double toneSpanHz;
        int mostUnheard;
    };
    for (const Case& c : {Case{0, -15, 600, 72}, Case{10, -13, 300, 34}}) {
        SCOPED_TRACE(c.driftHzPerSecond);
        int unheard = 0;
        for (std::uint64_t seed = 0; seed < 12; ++seed) {
            SCOPED_TRACE(seed);
            synth::RandomSource random(seed);
            SynthSettings settings;
            settings.seed = seed;
            settings.snrDb = c.snrDb;
            settings.toneHz = 400 + c.toneSpanHz * random.Uniform();
            settings.driftHzPerSecond = c.driftHzPerSecond;
            std::vector<synth::SentFrame> sent;
            const Tally tally = Score(sent, Copy(settings, 1, 4096, &sent));
            EXPECT_EQ(tally.rows, 6);
            EXPECT_EQ(tally.wrong, 0);
            unheard += tally.unheard;
        }
        EXPECT_LE(unheard, c.mostUnheard);
    }
}

}  // namespace
}  // namespace ao07::audio
