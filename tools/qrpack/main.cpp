// qrpack: packs a folder into a resource archive, lists one and extracts
// one. Listing and extracting read through the framework's archive-aware
// file-access set, so a pack followed by an extract is a real round trip of
// the writer and the reader.
//
//   qrpack pack [--key TEXT] [--version 0..3] [--store] DIR OUT
//   qrpack list ARCHIVE [--key TEXT]
//   qrpack extract ARCHIVE DESTDIR [--key TEXT]
//
// Without --key an archive is written with the fixed fallback key, which
// every reader tries, so it opens whatever key the reader has set.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/core/string_helpers.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/text_encoding.h"

namespace {

struct Arguments {
  std::vector<std::string> positional;
  std::string key;
  bool hasKey = false;
  int version = 3;
  bool store = false;
};

int Usage() {
  std::fprintf(stderr,
               "usage: qrpack pack [--key TEXT] [--version 0..3] [--store] DIR OUT\n"
               "       qrpack list ARCHIVE [--key TEXT]\n"
               "       qrpack extract ARCHIVE DESTDIR [--key TEXT]\n");
  return 2;
}

bool ParseArguments(int argc, char** argv, Arguments* a) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--key" && i + 1 < argc) {
      a->hasKey = true;
      a->key = argv[++i];
    } else if (arg == "--version" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v.size() != 1 || v[0] < '0' || v[0] > '3') return false;
      a->version = v[0] - '0';
    } else if (arg == "--store") {
      a->store = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      return false;
    } else {
      a->positional.push_back(arg);
    }
  }
  return true;
}

// The framework's form of a command-line path (a message when there is
// none), and back.
bool ToFramework(const std::string& host, std::string* out) {
  char buffer[1024];
  if (plat::HostPathToCp932(host.c_str(), buffer, sizeof buffer) < 0) {
    std::fprintf(stderr, "qrpack: path cannot be used: %s\n", host.c_str());
    return false;
  }
  *out = buffer;
  return true;
}

std::string ToUtf8(const std::string& cp932) {
  char buffer[2048];
  return plat::Cp932ToUtf8(cp932.c_str(), buffer, sizeof buffer) < 0 ? std::string("?") : std::string(buffer);
}

int Pack(const Arguments& a) {
  if (a.positional.size() != 2) return Usage();
  std::string dir, out;
  if (!ToFramework(a.positional[0], &dir) || !ToFramework(a.positional[1], &out)) return 1;
  qor::PackNode root;
  if (qor::ReadPackTree(dir.c_str(), &root) != 0) {
    std::fprintf(stderr, "qrpack: no such folder (or unreadable): %s\n", a.positional[0].c_str());
    return 1;
  }
  qor::PackOptions options;
  std::string key = a.key;
  if (a.hasKey) {
    // Typed keys are UTF-8; the reader compares the system's CP932 bytes.
    char cp932[64];
    if (plat::Utf8ToCp932(a.key.c_str(), cp932, sizeof cp932) < 0) {
      std::fprintf(stderr, "qrpack: key cannot be used\n");
      return 1;
    }
    options.keyMode = qor::PackKeyMode::String;
    options.key = cp932;
  }
  options.version = a.version;
  options.store = a.store;
  std::vector<uint8_t> bytes;
  if (qor::BuildArchive(root, options, &bytes) != 0) {
    std::fprintf(stderr, "qrpack: folder cannot be packed (a name too long, or over 4 GiB): %s\n",
                 a.positional[0].c_str());
    return 1;
  }
  if (qor::WriteWholeFile(out.c_str(), bytes) != 0) {
    std::fprintf(stderr, "qrpack: cannot write %s\n", a.positional[1].c_str());
    return 1;
  }
  return 0;
}

// Sets the reader up for one archive and gives the folder path that the
// archive stands for ("Z:\...\gr" for "gr.dat"). Fails with a message when
// the archive does not open with the key.
bool OpenForReading(const Arguments& a, std::string* folder) {
  const std::string& host = a.positional[0];
  std::string archive;
  if (!ToFramework(host, &archive)) return false;
  const size_t slash = archive.find_last_of('\\');
  const size_t point = archive.find_last_of('.');
  if (point == std::string::npos || (slash != std::string::npos && point < slash) || point + 1 == archive.size()) {
    std::fprintf(stderr, "qrpack: archive name needs an extension: %s\n", host.c_str());
    return false;
  }
  if (plat::QueryPathKind(archive.c_str()) != 0) {
    std::fprintf(stderr, "qrpack: no such archive: %s\n", host.c_str());
    return false;
  }
  qor::ResetArchiveTables();
  qor::SetArchiveExtension(archive.c_str() + point + 1);
  std::string key;
  if (a.hasKey) {
    char cp932[64];
    if (plat::Utf8ToCp932(a.key.c_str(), cp932, sizeof cp932) >= 0) key = cp932;
  }
  qor::SetArchiveKey(a.hasKey ? key.c_str() : nullptr);
  *folder = archive.substr(0, point);

  // The archive that covers the folder must be this one, opened.
  char inner[512];
  const int slot = qor::FindArchiveForPath((*folder + "\\*").c_str(), inner, sizeof inner);
  // The reader names an archive by the upper-cased folder path and the
  // extension as set.
  char expected[512];
  const bool ours = slot >= 0 && qor::MakeArchivePath(folder->c_str(), expected, sizeof expected) == 0 &&
                    std::string(qor::GetArchiveSlot(slot)->path) == std::string(expected) + archive.substr(point);
  if (slot >= 0) qor::LowerArchiveUse(slot);
  if (!ours) {
    std::fprintf(stderr, "qrpack: cannot read %s: not an archive, damaged, or wrong key\n", host.c_str());
    return false;
  }
  return true;
}

// An entry name must be one element: a separator or a drive in it would
// lead an extract outside its folder, and an empty one would name the folder
// being walked again.
bool IsOneElement(const char* name) {
  if (*name == '\0') return false;
  for (const char* p = name; *p != '\0'; p += qor::SjisCharWidth(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') return false;
  }
  return true;
}

// Visits every entry below `folder\relative` through the find operations.
// False when a visit fails or an entry has a name no folder can hold.
template <typename Visit>
bool Walk(const std::string& folder, const std::string& relative, Visit visit) {
  const std::string pattern = folder + (relative.empty() ? "" : "\\" + relative) + "\\*";
  qor::FindRecord record;
  const qor::FindHandle find = qor::ArcFindFirst(pattern.c_str(), &record);
  if (find == -1) return true;  // an empty folder
  std::vector<std::pair<std::string, qor::FindRecord>> found;
  bool namesOk = true;
  do {
    if (std::strcmp(record.name, ".") == 0 || std::strcmp(record.name, "..") == 0) continue;
    namesOk = namesOk && IsOneElement(record.name);
    found.emplace_back(relative.empty() ? record.name : relative + "\\" + record.name, record);
  } while (qor::ArcFindNext(find, &record) == 0);
  qor::ArcFindClose(find);
  if (!namesOk) {
    std::fprintf(stderr, "qrpack: damaged archive: an entry name holds a separator\n");
    return false;
  }
  for (const auto& [path, entry] : found) {
    if (!visit(path, entry)) return false;
    if (entry.isDirectory && !Walk(folder, path, visit)) return false;
  }
  return true;
}

int List(const Arguments& a) {
  if (a.positional.size() != 1) return Usage();
  std::string folder;
  if (!OpenForReading(a, &folder)) return 1;
  const bool ok = Walk(folder, "", [](const std::string& path, const qor::FindRecord& entry) {
    // UTF-8 has no 0x5C inside a character, so every backslash is a separator.
    std::string shown = ToUtf8(path);
    for (char& c : shown) c = (c == '\\') ? '/' : c;
    if (entry.isDirectory) {
      std::printf("%s/\n", shown.c_str());
    } else {
      std::printf("%s\t%u\n", shown.c_str(), entry.sizeLow);
    }
    return true;
  });
  qor::ResetArchiveTables();
  return ok ? 0 : 1;
}

bool ExtractFile(const std::string& source, const std::string& target) {
  const qor::FileHandle in = qor::ArcFileOpen(source.c_str(), 0, 1, 0);
  if (in == 0) return false;
  const plat::FileDesc out = plat::OpenFileForWrite(target.c_str(), plat::FileCreate::CreateAlways);
  bool ok = out != plat::kNoFile;
  std::vector<uint8_t> chunk(1 << 16);
  while (ok) {
    const size_t got = qor::ArcFileRead(chunk.data(), 1, chunk.size(), in);
    if (got == 0) break;
    ok = plat::WriteFileBytes(out, chunk.data(), got) == static_cast<int64_t>(got);
  }
  // A read that stopped before the end is a damaged entry.
  const int64_t stoppedAt = qor::ArcFileTell(in);
  ok = ok && qor::ArcFileSeek(in, 0, 2) == 0 && qor::ArcFileTell(in) == stoppedAt;
  qor::ArcFileClose(in);
  if (out != plat::kNoFile) ok = plat::CloseFile(out) == 0 && ok;
  return ok;
}

int Extract(const Arguments& a) {
  if (a.positional.size() != 2) return Usage();
  std::string folder, dest;
  if (!OpenForReading(a, &folder)) return 1;
  if (!ToFramework(a.positional[1], &dest)) return 1;
  if (plat::QueryPathKind(dest.c_str()) != 1 && plat::CreateDirectoryAt(dest.c_str()) != 0) {
    std::fprintf(stderr, "qrpack: cannot make folder %s\n", a.positional[1].c_str());
    return 1;
  }
  std::string failed;
  const bool ok = Walk(folder, "", [&](const std::string& path, const qor::FindRecord& entry) {
    const std::string target = dest + "\\" + path;
    const bool done = entry.isDirectory
                          ? (plat::QueryPathKind(target.c_str()) == 1 || plat::CreateDirectoryAt(target.c_str()) == 0)
                          : ExtractFile(folder + "\\" + path, target);
    if (!done) failed = path;
    return done;
  });
  qor::ResetArchiveTables();
  if (!ok) {
    if (!failed.empty()) {
      std::fprintf(stderr, "qrpack: cannot extract %s (damaged entry or unwritable target)\n", ToUtf8(failed).c_str());
    }
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  Arguments a;
  if (!ParseArguments(argc, argv, &a)) return Usage();
  const std::string command = argv[1];
  if (command == "pack") return Pack(a);
  if (command == "list") return List(a);
  if (command == "extract") return Extract(a);
  return Usage();
}
