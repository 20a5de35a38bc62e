// SPDX-License-Identifier: GPL-3.0-or-later

#include "catalogue.h"

#include "i18n/catalogue_places.h"
#include "translate.h"

#include <clocale>
#include <filesystem>
#include <system_error>

#include <libintl.h>

namespace tarvex::i18n {

std::string runningProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

std::string catalogueFolderFor(std::string_view programFolder) {
    const std::filesystem::path relative(kCatalogueDirFromProgram);
    if (!programFolder.empty()) {
        const std::filesystem::path folder(programFolder);
        for (const std::filesystem::path& candidate : {folder / relative, folder / ".." / relative}) {
            std::error_code error;
            if (std::filesystem::is_directory(candidate, error)) return candidate.lexically_normal().string();
        }
    }
    return std::string(kInstalledCatalogueDir);
}

void bindCatalogue(std::string_view programFolder) {
    const std::string folder = catalogueFolderFor(programFolder);
    bindtextdomain(kDomain, folder.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
}

void speakSessionLanguage() {
    std::setlocale(LC_MESSAGES, "");
    bindCatalogue(runningProgramFolder());
    // The system's own words (strerror) come from the C library's catalogue;
    // with the characters of the C locale they would lose every letter
    // outside ASCII.
    bind_textdomain_codeset("libc", "UTF-8");
}

std::string catalogueLanguage() {
    // The empty text finds the header of the catalogue in use, or itself when none is.
    const std::string_view header = dgettext(kDomain, "");
    constexpr std::string_view field = "Language:";
    std::size_t at = header.find(field);
    while (at != std::string_view::npos && at != 0 && header[at - 1] != '\n') at = header.find(field, at + 1);
    if (at == std::string_view::npos) return {};
    std::string_view value = header.substr(at + field.size());
    value = value.substr(0, value.find('\n'));
    const std::size_t start = value.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    value.remove_prefix(start);
    return std::string(value.substr(0, value.find_last_not_of(' ') + 1));
}

std::vector<std::string> languageFolders(std::string_view language) {
    language = language.substr(0, language.find_first_of(".@"));
    std::vector<std::string> folders;
    if (language.empty()) return folders;
    folders.emplace_back(language);
    const std::size_t territory = language.find('_');
    if (territory != std::string_view::npos && territory > 0) folders.emplace_back(language.substr(0, territory));
    return folders;
}

} // namespace tarvex::i18n
