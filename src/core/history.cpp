#include "core/history.h"

#include <algorithm>

namespace vorn {

namespace {

constexpr std::int64_t kMillisPerDay = 86400000;

// Days since 1970-01-01 and the civil date, both ways (the proleptic Gregorian calendar).
void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// `n` with at least `width` digits, zeros in front. (No printf: it would bring its formatting
// tables into the executable.)
void Digits(std::string& out, std::int64_t n, std::size_t width) {
  std::string digits = std::to_string(n);
  if (digits.size() < width) out.append(width - digits.size(), '0');
  out += digits;
}

// The number after the time of a version taken in the same millisecond as another: 1 for the
// first, which has none.
int Sequence(std::string_view file) {
  int n = 0;
  if (file.size() > 20 && file[19] == '-') {
    for (std::size_t i = 20; i < file.size() && file[i] >= '0' && file[i] <= '9'; ++i) {
      n = n * 10 + (file[i] - '0');
    }
  }
  return n > 0 ? n : 1;
}

// A version's name: its time, then "kept." or "outside." for those kinds (a routine one, as
// every version of earlier builds, has none), then what it holds: "20261209-031522-123.kept.txt".
constexpr std::string_view kKeptMark = "kept.", kOutsideMark = "outside.";

std::string_view AfterTime(std::string_view file) {
  std::size_t dot = file.find('.');
  return dot == std::string_view::npos ? std::string_view() : file.substr(dot + 1);
}

Worth WorthOf(std::string_view file) {
  std::string_view rest = AfterTime(file);
  if (rest.starts_with(kKeptMark)) return Worth::Kept;
  if (rest.starts_with(kOutsideMark)) return Worth::Outside;
  return Worth::Routine;
}

std::string_view Kind(std::string_view file) {
  std::string_view rest = AfterTime(file);
  for (std::string_view mark : {kKeptMark, kOutsideMark}) {
    if (rest.starts_with(mark)) return rest.substr(mark.size());
  }
  return rest;
}

std::string_view MarkOf(Worth worth) {
  switch (worth) {
    case Worth::Kept: return kKeptMark;
    case Worth::Outside: return kOutsideMark;
    case Worth::Routine: break;
  }
  return {};
}

}  // namespace

std::string VersionName(std::int64_t utcMillis) {
  std::int64_t days = utcMillis >= 0 ? utcMillis / kMillisPerDay
                                     : -((-utcMillis + kMillisPerDay - 1) / kMillisPerDay);
  std::int64_t inDay = utcMillis - days * kMillisPerDay;
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  std::string name;
  Digits(name, y, 4);
  Digits(name, m, 2);
  Digits(name, d, 2);
  name += '-';
  Digits(name, inDay / 3600000, 2);
  Digits(name, inDay / 60000 % 60, 2);
  Digits(name, inDay / 1000 % 60, 2);
  name += '-';
  Digits(name, inDay % 1000, 3);
  return name;
}

std::int64_t VersionTime(std::string_view name) {
  if (name.size() < 19 || name[8] != '-' || name[15] != '-') return -1;
  auto number = [&](std::size_t at, std::size_t digits) -> std::int64_t {
    std::int64_t n = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
      if (name[i] < '0' || name[i] > '9') return -1;
      n = n * 10 + (name[i] - '0');
    }
    return n;
  };
  std::int64_t y = number(0, 4), mo = number(4, 2), d = number(6, 2), h = number(9, 2),
               mi = number(11, 2), s = number(13, 2), ms = number(16, 3);
  if (y < 0 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 ||
      s < 0 || s > 60 || ms < 0) {
    return -1;
  }
  std::int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  return days * kMillisPerDay + ((h * 60 + mi) * 60 + s) * 1000 + ms;
}

History::History(FileSystem& files, std::string folder, Clock& clock, LegacyDecoder legacy)
    : files_(files), folder_(std::move(folder)), clock_(clock), legacy_(std::move(legacy)) {}

std::string History::Folder(int pad) const { return folder_ + "\\" + std::to_string(pad); }

void History::AddText(int pad, std::string_view text, Worth worth) {
  Add(pad, text, "txt", worth);
}

void History::AddStoredBytes(int pad, const StoredBytes& stored, Worth worth) {
  Add(pad, stored.bytes, stored.kind, worth);
}

void History::Add(int pad, std::string_view bytes, std::string_view kind, Worth worth) {
  if (bytes.empty()) return;
  std::vector<Version> versions = Versions(pad);
  if (!versions.empty() && versions.front().size == bytes.size()) {
    std::optional<std::string> newest = files_.Read(Folder(pad) + "\\" + versions.front().file);
    if (newest && *newest == bytes) return;
  }
  files_.CreateFolders(Folder(pad));
  std::int64_t time = clock_.NowUtcMillis();
  if (!versions.empty()) time = std::max(time, versions.front().utcMillis + 1);
  // Two versions in the same millisecond get a number after the time.
  std::string ending = "." + std::string(MarkOf(worth)) + std::string(kind);
  std::string stem = VersionName(time), file = stem + ending;
  for (int n = 2; files_.Exists(Folder(pad) + "\\" + file); ++n) {
    file = stem + "-" + std::to_string(n) + ending;
  }
  SaveFileSafely(files_, Folder(pad) + "\\" + file, bytes);
  DropOldest(pad, file);
}

namespace {

constexpr std::string_view kWrittenHere = "\\written-here";

}  // namespace

// "place\n<bytes' length> <1 with a base, 0 without>\n" and the bytes, then the base.
void History::KeepWritten(int pad, const Written& written) {
  files_.CreateFolders(Folder(pad));
  std::string record = written.place + "\n" + std::to_string(written.bytes.size()) +
                       (written.base ? " 1\n" : " 0\n") + written.bytes + written.base.value_or("");
  SaveFileSafely(files_, Folder(pad) + std::string(kWrittenHere), record);
}

std::optional<History::Written> History::LastWritten(int pad) {
  std::optional<std::string> record;
  try {
    record = files_.Read(Folder(pad) + std::string(kWrittenHere));
  } catch (const PlatformError&) {
    return std::nullopt;
  }
  if (!record) return std::nullopt;
  std::size_t placeEnd = record->find('\n');
  std::size_t headEnd = placeEnd == std::string::npos ? placeEnd : record->find('\n', placeEnd + 1);
  if (headEnd == std::string::npos) return std::nullopt;
  std::size_t length = 0, at = placeEnd + 1;
  for (; at < headEnd && (*record)[at] >= '0' && (*record)[at] <= '9'; ++at) {
    length = length * 10 + static_cast<std::size_t>((*record)[at] - '0');
  }
  std::string_view flag = std::string_view(*record).substr(at, headEnd - at);
  std::size_t body = headEnd + 1;
  if ((flag != " 1" && flag != " 0") || length > record->size() - body) return std::nullopt;
  Written written{record->substr(0, placeEnd), record->substr(body, length), std::nullopt};
  if (flag == " 1") written.base = record->substr(body + length);
  return written;
}

std::vector<Version> History::Versions(int pad) {
  std::vector<Version> versions;
  for (const FolderEntry& entry : files_.List(Folder(pad))) {
    std::int64_t time = VersionTime(entry.name);
    // Leftovers of a save that was cut short are not versions.
    bool leftover = entry.name.ends_with(".new") || entry.name.ends_with(".ok");
    if (time >= 0 && !leftover) {
      versions.push_back({entry.name, time, entry.size, WorthOf(entry.name)});
    }
  }
  std::sort(versions.begin(), versions.end(), [](const Version& a, const Version& b) {
    if (a.utcMillis != b.utcMillis) return a.utcMillis > b.utcMillis;
    return Sequence(a.file) > Sequence(b.file);
  });
  return versions;
}

void History::DropOldest(int pad, std::string_view newest) {
  std::vector<Version> versions = Versions(pad);
  // The kept versions count among themselves; the others among themselves, outside rewrites
  // going before the routine ones. The version just added stays, however large it is.
  for (bool kept : {true, false}) {
    std::size_t count = 0;
    std::uint64_t total = 0;
    for (const Version& v : versions) {
      if ((v.worth == Worth::Kept) != kept) continue;
      ++count;
      total += v.size;
    }
    for (Worth first : {Worth::Kept, Worth::Outside, Worth::Routine}) {
      for (auto v = versions.rbegin(); v != versions.rend(); ++v) {
        if (count <= kMaxVersions && total <= kMaxBytes) break;
        if (v->worth != first || (v->worth == Worth::Kept) != kept || v->file == newest) continue;
        files_.Remove(Folder(pad) + "\\" + v->file);
        --count;
        total -= v->size;
      }
    }
  }
}

std::string History::Text(int pad, const Version& version) {
  std::optional<std::string> bytes = files_.Read(Folder(pad) + "\\" + version.file);
  if (!bytes) throw PlatformError("the version " + version.file + " is gone.");
  std::string_view kind = Kind(version.file);
  if (kind == "value-1" || kind == "value-2") return DecodeValue(*bytes, false);
  if (kind == "value-7") return DecodeValue(*bytes, true);
  return DecodePadFile(*bytes, legacy_);
}

}  // namespace vorn
