#pragma once
#include <QString>
#include <filesystem>

namespace testsupport {

// The picture corpus shared beside the project; absent in a bare clone.
inline std::filesystem::path corpusDir() { return KELPORA_CORPUS_DIR; }
inline bool haveCorpus() { return std::filesystem::exists(corpusDir() / "INDEX.tsv"); }
inline std::filesystem::path sourceDir() { return KELPORA_SOURCE_DIR; }

} // namespace testsupport
