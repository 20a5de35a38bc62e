// SPDX-License-Identifier: GPL-3.0-or-later

#include "agreement_input.h"

#include "agree/agreement_line.h"
#include "text/charset.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace tarvex::cli {
namespace {

Error unreadable(int osError) {
    return Error{.kind = Error::Kind::FileUnreadable, .path = kStandardInputName, .osError = osError};
}

// `text` without a UTF-8 character cut at its end, which the next read completes.
std::string_view withoutCutCharacter(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) continue; // a continuation byte: look further back
        const std::size_t length = text::charset::utf8SequenceLength(byte);
        return length > back ? text.substr(0, text.size() - back) : text;
    }
    return text;
}

// The read, retried when a signal interrupts it: bytes read, 0 at the end.
Result<std::size_t> readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return unreadable(errno);
    }
}

} // namespace

Status takeFromStream(int fd, const LineTaker& take) {
    std::string text;
    char buffer[65536];
    for (;;) {
        Result<std::size_t> got = readSome(fd, buffer, sizeof buffer);
        if (!got) return got.error();
        text.append(buffer, *got);
        const bool ended = *got == 0 || text.size() >= kMaxAgreementInput;
        Status taken = take(ended ? std::string_view(text) : withoutCutCharacter(text));
        if (taken) return taken;
        if (!ended && agree::mayChangeWithMoreText(taken.error())) continue;
        Error verdict = taken.error();
        verdict.path = kStandardInputName;
        return verdict;
    }
}

Result<std::optional<std::string>> readPaste(int fd) {
    std::string paste;
    char buffer[4096];
    for (;;) {
        Result<std::size_t> got = readSome(fd, buffer, sizeof buffer);
        if (!got) return got.error();
        if (*got == 0) return paste.empty() ? std::nullopt : std::optional<std::string>(paste);
        paste.append(buffer, *got);
        pollfd waiting{.fd = fd, .events = POLLIN, .revents = 0};
        if (::poll(&waiting, 1, 0) <= 0 || paste.size() >= kMaxAgreementInput) return std::optional<std::string>(paste);
    }
}

} // namespace tarvex::cli
