// The two read-only data files of each edition and form generation: the form-item file, which
// defines the statement lines, and the default-mapping file, which says which host accounts feed
// each line when the user has no saved settings. Both hold a common section
// (texts::kCommonSectionHeader) that ends at the end marker (texts::kSectionEndMarker); the readers
// take the file's bytes, or read them through the platform's file system.
#pragma once

#include "aggregate/statement_line.h"
#include "platform/filesystem.h"
#include "platform/status.h"

#include <cstdint>
#include <functional>
#include <string>

// "IvyOvw21ToRv16_G_GaiKmk.dat" and the like: the edition's data-file prefix, the generation
// ("16" or "30") and the kind.
std::string FormItemFileName(const std::string& editionPrefix, FormGeneration form);
std::string DefaultMappingFileName(const std::string& editionPrefix, FormGeneration form);

// Gives the account key of the host account with a code (a code below 10000 is an account
// number); false when the host has no such account.
using AccountCodeLookup = std::function<bool(std::int32_t code, std::string& key)>;

// Replaces lines with the statement lines of a form-item file. False, with lines untouched, when
// the file cannot be read, has no complete section, or holds a body line that is not a statement
// line (blank lines aside). Running out of memory is no broken file: std::bad_alloc goes on to
// the caller, the lines untouched, so that the run never goes on with some of them.
[[nodiscard]] bool loadStatementLines(const std::string& bytes, StatementLines& lines);
// The same from the file at path: refused with the system's error when it cannot be read, as a
// bad file when its bytes are no form-item file.
[[nodiscard]] platform::Status loadStatementLines(platform::FileSystem& files,
                                                  const std::string& path, StatementLines& lines);

// Replaces entries with the mappings of a default-mapping file; account codes are turned into
// account keys through lookup. Results as for loadStatementLines.
[[nodiscard]] bool loadDefaultMappings(const std::string& bytes, MappingEntries& entries,
                                       const AccountCodeLookup& lookup);
[[nodiscard]] platform::Status loadDefaultMappings(platform::FileSystem& files,
                                                   const std::string& path, MappingEntries& entries,
                                                   const AccountCodeLookup& lookup);
