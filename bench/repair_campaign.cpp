// A campaign of damaged registers, run by hand: copies of a register of
// 2,000 vehicles with their history are damaged as disks and programs
// damage files (pointers, zeroed or garbled pages, flipped bytes, a table
// definition, a file cut short), each is repaired by Database > Ripara, and
// the rows kept are counted against the rows whose records still lie intact
// on leaf pages. A record is intact when its page type, its cell pointer and
// its bytes are those of the undamaged register: the count does not rely on
// the repair's own page reader.
//   repair_campaign [COPIES_PER_KIND]

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "comms/ApplyCommunication.h"
#include "schema/DatabaseMaintenance.h"
#include "support/CachedRegister.h"
#include "synthetic/SyntheticCommunication.h"

namespace {

using namespace veltra;
namespace fs = std::filesystem;

constexpr std::size_t PageSize = 4096;
const std::vector<std::string> Tables = {"regazi", "comunica", "bus", "storia"};

std::string registerPath() {
  return bench::CachedRegister(
      "/tmp/veltra-repair-campaign/register_2000.mdb", [](db::DatabaseConnection& connection) {
        for (std::int32_t azienda = 1; azienda <= 10; ++azienda)
          for (const auto& [date, revision] : {std::pair{"15/01/2024", 0}, {"15/06/2024", 1}})
            if (!comms::ApplyCommunication(
                     connection, testing::SyntheticCommunication(azienda, date, 200, revision))
                     .done())
              std::abort();
      });
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A small read-only helper on a file through SQLite.
struct Sql {
  explicit Sql(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  ~Sql() { sqlite3_close(db); }
  std::vector<std::int64_t> numbers(const std::string& sql) const {
    std::vector<std::int64_t> out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK)
      while (sqlite3_step(stmt) == SQLITE_ROW) out.push_back(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    return out;
  }
  sqlite3* db = nullptr;
};

std::uint64_t varint(const std::string& b, std::size_t& at) {
  std::uint64_t v = 0;
  for (int i = 0; i < 9; ++i) {
    const auto c = static_cast<std::uint8_t>(b[at++]);
    if (i == 8) return (v << 8) | c;
    v = (v << 7) | (c & 0x7f);
    if (!(c & 0x80)) break;
  }
  return v;
}

unsigned be16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) * 256u + static_cast<std::uint8_t>(b[at + 1]);
}

// Where each row's cell lies in the undamaged file.
struct Cell {
  std::size_t page, pointerAt, start, length;
};
using Cells = std::map<std::string, std::map<std::int64_t, Cell>>;

Cells cellsOf(const std::string& path, const std::string& bytes) {
  Cells cells;
  const Sql sql(path);
  for (const auto& table : Tables) {
    for (const auto page : sql.numbers("SELECT pageno FROM dbstat WHERE name = '" + table +
                                       "' AND pagetype = 'leaf'")) {
      const std::size_t base = (page - 1) * PageSize;
      const unsigned count = be16(bytes, base + 3);
      for (unsigned i = 0; i < count; ++i) {
        const std::size_t pointerAt = base + 8 + 2 * i;
        std::size_t at = base + be16(bytes, pointerAt);
        const std::size_t start = at;
        const auto size = varint(bytes, at);
        const auto rowid = static_cast<std::int64_t>(varint(bytes, at));
        if (size > PageSize - 35) std::abort();  // no record of this register overflows
        cells[table][rowid] = {static_cast<std::size_t>(page), pointerAt, start, at - start + size};
      }
    }
  }
  return cells;
}

std::set<std::int64_t> intactRows(const Cells& cells, const std::string& table,
                                  const std::string& pristine, const std::string& damaged) {
  std::set<std::int64_t> intact;
  for (const auto& [rowid, cell] : cells.at(table)) {
    const std::size_t base = (cell.page - 1) * PageSize;
    if (cell.start + cell.length > damaged.size()) continue;
    if (damaged[base] == pristine[base] &&
        damaged.compare(cell.pointerAt, 2, pristine, cell.pointerAt, 2) == 0 &&
        damaged.compare(cell.start, cell.length, pristine, cell.start, cell.length) == 0)
      intact.insert(rowid);
  }
  return intact;
}

class CampaignPrompter : public ui::Prompter {
 public:
  explicit CampaignPrompter(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> openFile(const ui::FileChoice&) override { return path_; }
  std::optional<std::string> saveFile(const ui::FileChoice&) override { return std::nullopt; }
  void beginBusy(bool) override {}
  std::string text;

 private:
  ui::Answer showMessage(std::string_view shown, ui::Icon, ui::Buttons, std::string_view) override {
    text += std::string(shown) + "\n";
    return ui::Answer::Ok;
  }
  std::string path_;
};

struct Damage {
  const char* name;
  void (*apply)(std::string& bytes, const Sql& sql, std::mt19937& random);
};

std::int64_t pick(const std::vector<std::int64_t>& from, std::mt19937& random) {
  if (from.empty()) return 0;
  return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

void fillPage(std::string& bytes, std::int64_t page, char value) {
  if (page > 0) std::fill_n(bytes.begin() + (page - 1) * PageSize, PageSize, value);
}

std::string pagesOfKind(const char* tables, const char* kind) {
  return std::string("SELECT pageno FROM dbstat WHERE name IN (") + tables + ") AND pagetype = '" +
         kind + "'";
}

const Damage Damages[] = {
    {"child pointer copied over its neighbour",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       const auto root = pick(sql.numbers(pagesOfKind("'storia','bus'", "internal")), r);
       const std::size_t base = (root - 1) * PageSize;
       const unsigned cells = be16(b, base + 3);
       const unsigned i = std::uniform_int_distribution<unsigned>(0, cells - 2)(r);
       b.replace(base + be16(b, base + 12 + 2 * i), 4,
                 b.substr(base + be16(b, base + 14 + 2 * i), 4));
     }},
    {"root page zeroed",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       fillPage(b,
                pick(sql.numbers("SELECT rootpage FROM sqlite_master WHERE name IN "
                                 "('storia','bus','comunica')"),
                     r),
                0);
     }},
    {"leaf page zeroed",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       fillPage(b, pick(sql.numbers(pagesOfKind("'storia','bus'", "leaf")), r), 0);
     }},
    {"eight bytes flipped in a leaf",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       const auto page = pick(sql.numbers(pagesOfKind("'storia','bus'", "leaf")), r);
       for (int i = 0; i < 8; ++i)
         b[(page - 1) * PageSize + std::uniform_int_distribution<std::size_t>(
                                       8, PageSize - 1)(r)] ^= static_cast<char>(1 << (i % 8));
     }},
    {"one byte of a table definition changed",
     [](std::string& b, const Sql&, std::mt19937& r) {
       std::vector<std::size_t> found;
       for (auto at = b.find("CREATE TABLE"); at != std::string::npos;
            at = b.find("CREATE TABLE", at + 1))
         found.push_back(at);
       const auto at = found[std::uniform_int_distribution<std::size_t>(0, found.size() - 1)(r)];
       b[at + std::uniform_int_distribution<std::size_t>(0, 30)(r)] ^= 0x21;
     }},
    {"page of the schema table zeroed",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       fillPage(b,
                pick(sql.numbers("SELECT pageno FROM dbstat WHERE name = 'sqlite_schema' "
                                 "AND pageno > 1"),
                     r),
                0);
     }},
    {"file cut short",
     [](std::string& b, const Sql&, std::mt19937& r) {
       b.resize(b.size() - PageSize * std::uniform_int_distribution<std::size_t>(1, 40)(r));
     }},
    {"interior page zeroed",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       fillPage(b, pick(sql.numbers(pagesOfKind("'storia','bus'", "internal")), r), 0);
     }},
    {"index page zeroed",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       fillPage(
           b,
           pick(sql.numbers("SELECT pageno FROM dbstat WHERE name LIKE 'pk\\_%' ESCAPE '\\'"), r),
           0);
     }},
    {"page overwritten with garbage",
     [](std::string& b, const Sql& sql, std::mt19937& r) {
       const auto page = pick(sql.numbers("SELECT pageno FROM dbstat WHERE pageno > 1"), r);
       for (std::size_t i = 0; i < PageSize; ++i)
         b[(page - 1) * PageSize + i] = static_cast<char>(r());
     }},
};

// The line of the repair's message for the table: "" when there is none.
std::string lineOf(const std::string& text, const std::string& table) {
  const auto at = text.find("Tavola " + table + ":");
  return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

std::int64_t numberBefore(const std::string& line, const std::string& word) {
  const auto at = line.find(word);
  if (at == std::string::npos) return 0;
  const auto start = line.rfind(' ', at - 2);
  return std::stoll(line.substr(start + 1, at - start - 2));
}

}  // namespace

int main(int argc, char** argv) {
  const int perKind = argc > 1 ? std::atoi(argv[1]) : 3;
  const std::string pristinePath = registerPath();
  const std::string pristine = bytesOf(pristinePath);
  const Cells cells = cellsOf(pristinePath, pristine);
  const fs::path work = "/tmp/veltra-repair-campaign/copies";
  fs::remove_all(work);
  fs::create_directories(work);
  std::int64_t totalIntact = 0, totalKept = 0, totalSetAside = 0, unsaid = 0, refused = 0,
               altered = 0, copies = 0;
  std::mt19937 random(20261207);
  for (const Damage& damage : Damages) {
    for (int n = 0; n < perKind; ++n) {
      const std::string path = (work / ("copia" + std::to_string(++copies) + ".mdb")).string();
      std::string bytes = pristine;
      {
        const Sql sql(pristinePath);
        damage.apply(bytes, sql, random);
      }
      std::ofstream(path, std::ios::binary) << bytes;
      CampaignPrompter prompter(path);
      const auto outcome = schema::RepairDatabaseCommand(prompter);
      std::printf("%2lld %-40s %s\n", static_cast<long long>(copies), damage.name,
                  outcome == ui::Outcome::Done ? (prompter.text.empty() ? "healthy" : "repaired")
                                               : "REFUSED");
      if (outcome != ui::Outcome::Done) {
        ++refused;
        std::printf("   %s\n", prompter.text.c_str());
        continue;
      }
      Sql repaired(path);
      sqlite3_exec(repaired.db, ("ATTACH '" + pristinePath + "' AS o").c_str(), nullptr, nullptr,
                   nullptr);
      const bool hasSetAside =
          !repaired.numbers("SELECT 1 FROM sqlite_master WHERE name = 'righe_messe_da_parte'")
               .empty();
      for (const auto& table : Tables) {
        const auto intact = intactRows(cells, table, pristine, bytes);
        const auto equal =
            repaired.numbers("SELECT rowid FROM (SELECT rowid, * FROM main." + table +
                             " INTERSECT SELECT rowid, * FROM o." + table + ")");
        const std::set<std::int64_t> kept(equal.begin(), equal.end());
        const auto differing =
            repaired.numbers("SELECT count(*) FROM (SELECT rowid, * FROM main." + table +
                             " EXCEPT SELECT rowid, * FROM o." + table + ")");
        std::set<std::int64_t> setAside;
        if (hasSetAside)
          for (auto rowid : repaired.numbers(
                   "SELECT riga FROM righe_messe_da_parte WHERE tavola = '" + table + "'"))
            setAside.insert(rowid);
        std::int64_t intactKept = 0, intactSetAside = 0;
        for (auto rowid : intact) {
          intactKept += kept.count(rowid);
          intactSetAside += setAside.count(rowid);
        }
        // A row kept with altered values is no row lost: it is counted apart.
        const auto original = static_cast<std::int64_t>(cells.at(table).size());
        const auto present =
            repaired.numbers("SELECT count(*) FROM main." + table +
                             " WHERE rowid IN (SELECT rowid FROM o." + table + ")");
        const std::int64_t lost = original - (present.empty() ? 0 : present[0]) -
                                  static_cast<std::int64_t>(setAside.size());
        const std::string line = lineOf(prompter.text, table);
        const bool said = lost <= 0 || line.find("non determinabile") != std::string::npos ||
                          numberBefore(line, "illeggibili") >= lost;
        totalIntact += static_cast<std::int64_t>(intact.size());
        totalKept += intactKept;
        totalSetAside += intactSetAside;
        altered += differing.empty() ? 0 : differing[0];
        if (!said) ++unsaid;
        if (lost != 0 || intactKept != static_cast<std::int64_t>(intact.size()) || !said)
          std::printf("   %-9s intact %5zu kept %5lld set aside %4lld lost %4lld altered %lld %s\n",
                      table.c_str(), intact.size(), static_cast<long long>(intactKept),
                      static_cast<long long>(intactSetAside), static_cast<long long>(lost),
                      static_cast<long long>(differing.empty() ? 0 : differing[0]),
                      said ? "" : "UNSAID");
      }
    }
  }
  std::printf(
      "\n%lld copies; rows intact on leaf pages %lld, kept %lld (%.2f%%), set aside %lld; "
      "kept rows differing from the original %lld; unsaid losses %lld; refused %lld\n",
      static_cast<long long>(copies), static_cast<long long>(totalIntact),
      static_cast<long long>(totalKept),
      100.0 * static_cast<double>(totalKept) / static_cast<double>(totalIntact),
      static_cast<long long>(totalSetAside), static_cast<long long>(altered),
      static_cast<long long>(unsaid), static_cast<long long>(refused));
  return 0;
}
