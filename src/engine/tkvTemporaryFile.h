#pragma once

#include <string>

// The platform's temporary files: its temporary folder, and new files under names nobody can
// guess. A Windows build replaces its implementation file only.
namespace tkvTemporaryFile {

// The system's temporary folder; empty when it cannot be told.
std::string TemporaryFolder();

// Creates a new, empty file in agFolder named agPrefix, random letters, then agSuffix:
// exclusively, readable and writable by its owner only, so another user can neither guess,
// replace nor read it. False when it could not be made.
bool CreateUniqueFile(const std::string& agFolder, const std::string& agPrefix,
                      const std::string& agSuffix, std::string& ouPath);
// The same, with the system's text when it could not be made.
bool CreateUniqueFile(const std::string& agFolder, const std::string& agPrefix,
                      const std::string& agSuffix, std::string& ouPath, std::string& ouSystemText);

}  // namespace tkvTemporaryFile
