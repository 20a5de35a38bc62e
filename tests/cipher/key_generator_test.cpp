// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_format.h"
#include "cipher/key_file_writer.h"
#include "cipher/key_generator.h"
#include "cipher/secure_uniform_source.h"
#include "messages/messages.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <optional>
#include <cstdio>
#include <functional>
#include <set>

namespace tarvex::cipher::test {
namespace {

// The draws a generator makes, in order, so tests can check when it reseeds.
struct SourceEvent {
    enum class Kind { Reseed, Next } kind;
    float seed = 0;
};

// Hands out scripted values: draw 0 is the length, draw i the (i-1)-th key byte.
class ScriptedSource final : public UniformSource {
public:
    explicit ScriptedSource(std::function<double(std::size_t)> value) : value_(std::move(value)) {}

    void reseed(float seed) override { events.push_back({SourceEvent::Kind::Reseed, seed}); }
    Result<double> next() override {
        events.push_back({SourceEvent::Kind::Next});
        std::size_t draw = draws_++;
        if (failAt && *failAt == draw) return Error{.kind = Error::Kind::RandomSourceFailed, .osError = EIO};
        return value_(draw);
    }

    std::vector<SourceEvent> events;
    std::optional<std::size_t> failAt;

private:
    std::function<double(std::size_t)> value_;
    std::size_t draws_ = 0;
};

// Moves on by a quarter second at every reading.
class SteppingClock final : public TimeOfDayClock {
public:
    float secondsSinceMidnight() override { return 1000.0f + 0.25f * static_cast<float>(readings++); }
    int readings = 0;
};

// A clock that never moves, as when many bytes are drawn within one tick.
class FrozenClock final : public TimeOfDayClock {
public:
    float secondsSinceMidnight() override { return 45296.5f; }
};

// The value that makes floor(R * range) equal `wanted`.
double valueFor(int wanted, int range) {
    return (wanted + 0.5) / range;
}

// The key bytes the scripted source draws: varied, and including 0, small values and 255.
int scriptedByte(std::size_t index) {
    return static_cast<int>((index * 37 + 5) % 256);
}

std::function<double(std::size_t)> keyOfLength(int n) {
    return [n](std::size_t draw) {
        return draw == 0 ? valueFor(n - 438, 5532) : valueFor(scriptedByte(draw - 1), 256);
    };
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

struct Shape {
    int n;
    std::size_t lines;
    std::size_t lastLineLength;
    std::size_t fileSize;
};

class KeyFileShape : public ::testing::TestWithParam<Shape> {};

TEST_P(KeyFileShape, LengthDrawGivesTheFileItsShape) {
    const Shape shape = GetParam();
    ScriptedSource source(keyOfLength(shape.n));
    SteppingClock clock;
    Result<secret::Bytes> key = generateKeyBytes(source, clock);
    ASSERT_TRUE(key.ok()) << messages::describe(key.error());
    ASSERT_EQ(key->size(), static_cast<std::size_t>(shape.n));

    const std::string text(formatKeyFile(*key));
    EXPECT_EQ(text.size(), shape.fileSize);
    std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), shape.lines);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 54u) << "line " << i + 1;
    }
    EXPECT_EQ(lines.back().size(), shape.lastLineLength);
    if (shape.lastLineLength == 0) {
        EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    } else {
        EXPECT_NE(text.substr(text.size() - 4, 2), "\r\n");
    }

    std::string pairs;
    for (const std::string& line : lines) pairs += line;
    ASSERT_EQ(pairs.size(), 2u * static_cast<std::size_t>(shape.n));
    for (std::size_t i = 0; i < key->size(); ++i) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", scriptedByte(i));
        ASSERT_EQ(pairs.substr(2 * i, 2), expected) << "key byte " << i;
    }

    tarvex::test::TempDir dir;
    ASSERT_TRUE(saveKeyFile(dir.file("k.tvk"), *key, files::AtomicFileWriter::Replace::Refused).ok());
    EXPECT_EQ(tarvex::test::readBytes(dir.file("k.tvk")), text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, KeyFileShape,
                         ::testing::Values(Shape{438, 17, 12, 910}, Shape{459, 18, 0, 954},
                                           Shape{5967, 222, 0, 12378}, Shape{5969, 222, 4, 12382}),
                         [](const ::testing::TestParamInfo<Shape>& param) { return "N" + std::to_string(param.param.n); });

TEST(KeyGenerator, DrawsAreFlooredNotRounded) {
    // The length draw sits just below 1; the bytes sit on and just below multiples of 1/256.
    const std::vector<double> byteDraws = {0.0, 16.0 / 256, std::nextafter(16.0 / 256, 0.0), 0.5,
                                           valueFor(10, 256), std::nextafter(1.0, 0.0)};
    ScriptedSource source([&](std::size_t draw) {
        if (draw == 0) return std::nextafter(1.0, 0.0);
        return byteDraws[(draw - 1) % byteDraws.size()];
    });
    SteppingClock clock;
    Result<secret::Bytes> key = generateKeyBytes(source, clock);
    ASSERT_TRUE(key.ok());
    ASSERT_EQ(key->size(), 5969u);
    EXPECT_EQ(tarvex::test::codesOf(std::span<const std::uint8_t>(key->data(), 6)),
              (std::vector<int>{0, 16, 15, 128, 10, 255}));
    EXPECT_EQ(formatKeyFile(*key).substr(0, 12), "00100F800AFF");
}

TEST(KeyGenerator, ZeroDrawGivesTheShortestKey) {
    ScriptedSource source([](std::size_t) { return 0.0; });
    SteppingClock clock;
    Result<secret::Bytes> key = generateKeyBytes(source, clock);
    ASSERT_TRUE(key.ok());
    EXPECT_EQ(key->size(), 438u);
    EXPECT_EQ(formatKeyFile(*key).substr(0, 6), "000000");
}

TEST(KeyGenerator, ReseedsFromTheClockBeforeTheLengthAndBeforeEveryByte) {
    ScriptedSource source(keyOfLength(440));
    SteppingClock clock;
    Result<secret::Bytes> key = generateKeyBytes(source, clock);
    ASSERT_TRUE(key.ok());
    ASSERT_EQ(key->size(), 440u);

    ASSERT_EQ(source.events.size(), 2u * 441u);
    EXPECT_EQ(clock.readings, 441);
    for (std::size_t draw = 0; draw < 441; ++draw) {
        const SourceEvent& reseed = source.events[2 * draw];
        const SourceEvent& next = source.events[2 * draw + 1];
        ASSERT_EQ(reseed.kind, SourceEvent::Kind::Reseed) << "draw " << draw;
        EXPECT_EQ(reseed.seed, 1000.0f + 0.25f * static_cast<float>(draw)) << "draw " << draw;
        ASSERT_EQ(next.kind, SourceEvent::Kind::Next) << "draw " << draw;
    }
}

TEST(KeyGenerator, FailingSourceFailsTheKey) {
    for (std::size_t failAt : {std::size_t{0}, std::size_t{1}, std::size_t{300}}) {
        ScriptedSource source(keyOfLength(500));
        source.failAt = failAt;
        SteppingClock clock;
        Result<secret::Bytes> key = generateKeyBytes(source, clock);
        ASSERT_FALSE(key.ok()) << "failure at draw " << failAt;
        EXPECT_EQ(key.error().kind, Error::Kind::RandomSourceFailed);
        EXPECT_EQ(key.error().osError, EIO);
        EXPECT_EQ(source.events.size(), 2 * (failAt + 1)) << "no draws after the failure";
    }
}

TEST(SecureUniformSource, ValuesAreUniformInZeroToOne) {
    SecureUniformSource source;
    constexpr int kDraws = 160000;
    std::array<int, 16> buckets{};
    double sum = 0;
    for (int i = 0; i < kDraws; ++i) {
        if (i % 1000 == 0) source.reseed(static_cast<float>(i));
        Result<double> r = source.next();
        ASSERT_TRUE(r.ok()) << messages::describe(r.error());
        ASSERT_GE(*r, 0.0);
        ASSERT_LT(*r, 1.0);
        sum += *r;
        ++buckets[static_cast<std::size_t>(*r * 16)];
    }
    // Bounds are many standard deviations wide: a fair source never misses them.
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
    for (int count : buckets) {
        EXPECT_GT(count, 9000);
        EXPECT_LT(count, 11000);
    }
}

TEST(SecureUniformSource, ReseedWithTheSameValueDoesNotRepeatADraw) {
    SecureUniformSource source;
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        source.reseed(12.5f);
        Result<double> r = source.next();
        ASSERT_TRUE(r.ok());
        EXPECT_TRUE(seen.insert(*r).second) << "draw " << i << " repeated";
    }
}

std::size_t longestRun(std::span<const std::uint8_t> bytes) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        run = (i > 0 && bytes[i] == bytes[i - 1]) ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST(SecureUniformSource, KeyFromAFrozenClockHasNoRunsOfEqualBytes) {
    SecureUniformSource source;
    FrozenClock clock;
    std::vector<std::vector<std::uint8_t>> keys;
    for (int k = 0; k < 2; ++k) {
        Result<secret::Bytes> key = generateKeyBytes(source, clock);
        ASSERT_TRUE(key.ok()) << messages::describe(key.error());
        ASSERT_GE(key->size(), 438u);
        ASSERT_LE(key->size(), 5969u);
        // Five equal bytes in a row come by chance about once in a million keys.
        EXPECT_LE(longestRun(*key), 4u);
        std::set<std::uint8_t> distinct(key->begin(), key->end());
        EXPECT_GT(distinct.size(), 150u);
        keys.emplace_back(key->begin(), key->end());
    }
    EXPECT_NE(keys[0], keys[1]);
}

TEST(SecureUniformSource, KeyLengthsVary) {
    SecureUniformSource source;
    SystemTimeOfDayClock clock;
    std::set<std::size_t> lengths;
    for (int k = 0; k < 8; ++k) {
        Result<secret::Bytes> key = generateKeyBytes(source, clock);
        ASSERT_TRUE(key.ok());
        lengths.insert(key->size());
    }
    EXPECT_GT(lengths.size(), 1u);
}

TEST(SystemTimeOfDayClock, GivesSecondsWithinOneDay) {
    SystemTimeOfDayClock clock;
    float seconds = clock.secondsSinceMidnight();
    EXPECT_GE(seconds, 0.0f);
    EXPECT_LT(seconds, 86401.0f);
}

} // namespace
} // namespace tarvex::cipher::test
