// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_format.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_generator.h"
#include "cipher/key_strength.h"
#include "cipher/secure_uniform_source.h"
#include "messages/messages.h"

#include <gtest/gtest.h>

namespace tarvex::cipher::test {
namespace {

Status check(std::string_view keyFile) {
    return requireHidingKey(keyNumbersFromText(keyFile), "k.tvk");
}

TEST(KeyStrength, FilesWhoseKeyNumbersAreMostly0AreRefused) {
    Status zeros = check("0000000000\r\n");
    ASSERT_FALSE(zeros.ok());
    EXPECT_EQ(zeros.error().kind, Error::Kind::KeyHidesNothing);
    EXPECT_NE(messages::describe(zeros.error()).find("'k.tvk' does not look like a key"), std::string::npos)
        << messages::describe(zeros.error());
    // A letter picked by mistake: small letters and punctuation all count 0.
    EXPECT_FALSE(check("dear friend, see you on Friday.\r\n").ok());
    // Exactly half is still a key; one more 0 is not.
    EXPECT_TRUE(check("0011\r\n").ok());
    EXPECT_FALSE(check("000011\r\n").ok());
}

TEST(KeyStrength, GeneratedKeysPass) {
    SecureUniformSource source;
    SystemTimeOfDayClock clock;
    for (int i = 0; i < 20; ++i) {
        Result<secret::Bytes> bytes = generateKeyBytes(source, clock);
        ASSERT_TRUE(bytes.ok());
        EXPECT_TRUE(check(formatKeyFile(*bytes)).ok());
    }
}

} // namespace
} // namespace tarvex::cipher::test
