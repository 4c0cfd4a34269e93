#include "schema/ApplicationSchema.h"

#include <span>
#include <string_view>

#include "db/DatabaseConnection.h"
#include "schema/DictionaryWriters.h"

namespace veltra::schema {

namespace {

struct FieldSpec {
  std::string_view name;
  char letter;
  int size;
  bool obligatory;
  std::string_view caption;
  std::string_view description;
};

struct KeySpec {
  std::string_view caption;
  std::string_view description;
  std::span<const std::string_view> fields;
};

struct TableSpec {
  std::string_view name;
  std::string_view caption;
  std::string_view description;
  std::span<const FieldSpec> fields;
  KeySpec key;
  // storia repeats the fields of bus; only the description of data differs.
  std::string_view dataDescription = {};
};

struct PairSpec {
  std::string_view referencedField;
  std::string_view referencingField;
};

struct RelationSpec {
  std::string_view name;
  std::string_view referencedTable;
  std::string_view referencingTable;
  std::span<const PairSpec> pairs;
};

constexpr bool Yes = true;
constexpr bool No = false;

constexpr FieldSpec RegaziFields[] = {
    {"codice", 'I', 0, Yes, "Codice", "Contiene il codice regionale dell'Azienda"},
    {"denom", 'A', 40, Yes, "Denominazione", "Contiene la denominazione dell'Azienda"},
    {"attiva", 'B', 0, Yes, "Azienda Attiva", "Indica se l'azienda è attiva"},
};

constexpr FieldSpec RegprvFields[] = {
    {"codice", 'I', 0, Yes, "Codice", "Contiene il codice regionale dell'Ambito"},
    {"denom", 'A', 40, Yes, "Denominazione", "Contiene la denominazione dell'Ambito"},
};

constexpr std::string_view LastCommunicationDate =
    "Contiene la data dell'ultima comunicazione cha ha aggiornato i dati";

constexpr FieldSpec ComunicaFields[] = {
    {"azienda", 'I', 0, Yes, "Cod.Azienda", "Contiene il codice dell'Azienda"},
    {"data", 'D', 0, Yes, "Data comunicazione", LastCommunicationDate},
};

constexpr FieldSpec VehicleFields[] = {
    {"telaio", 'A', 40, Yes, "Telaio", "Contiene il codice del telaio"},
    {"data", 'D', 0, Yes, "Data comunicazione", LastCommunicationDate},
    {"azienda", 'I', 0, Yes, "Cod.Azienda", "Contiene il codice dell'Azienda"},
    {"ambito", 'I', 0, Yes, "Cod.Ambito", "Contiene il codice dell'Ambito"},
    {"prop", 'A', 40, Yes, "Proprietario", "Identifica il proprietario del mezzo"},
    {"interno", 'A', 10, No, "N.ro Aziendale", "Contiene il codice aziendale interno"},
    {"libretto", 'A', 20, Yes, "Libretto", "Contiene il codice carta circolazione"},
    {"targa", 'A', 10, Yes, "Targa", "Contiene il numero di immatricolazione (targa)"},
    {"prima", 'D', 0, Yes, "Data 1^ immatr.", "Contiene la data di prima immatricolazione"},
    {"tipo", 'A', 20, Yes, "Marca e tipo", "Contiene la marca ed il tipo veicolo"},
    {"dtimm", 'D', 0, Yes, "Data immatr.",
     "Contiene la data di immatricolazione carta circolazione"},
    {"dest", 'A', 15, Yes, "Destinazione uso", "Contiene la destinazione d'uso"},
    {"carroz", 'A', 15, Yes, "Carrozzeria", "Contiene il tipo carrozzeria"},
    {"aliment", 'A', 15, Yes, "Alimentazione", "Contiene il tipo alimentazione"},
    {"sedere", 'I', 0, Yes, "Posti a sedere", "Contiene il n.ro posti a sedere"},
    {"piedi", 'I', 0, Yes, "Posti in piedi", "Contiene il n.ro posti in piedi"},
    {"handicap", 'I', 0, Yes, "Posti carrozzella", "Contiene il n.ro posti in carrozzella)"},
    {"lung", 'F', 0, Yes, "Lunghezza", "Contiene la lunghezza (mm)"},
    {"altezza", 'F', 0, Yes, "Altezza", "Contiene l'altezza da terra (mm)"},
    {"aria", 'B', 0, Yes, "Aria Condizionata", "Aria condizionata (S/N)"},
    {"pedana", 'B', 0, Yes, "Pedana carrozzella", "Pedana carrozzella (S/N)"},
    {"prezzo", 'F', 0, Yes, "Prezzo Acquisto", "Contiene il prezzo acquisto IVA esclusa"},
    {"contrib", 'F', 0, Yes, "Contributo reg.le", "Contiene il contributo regionale"},
    {"contrib2", 'F', 0, Yes, "Altri Contributi", "Contiene altri contributi"},
    {"atto", 'A', 15, No, "Atto reg.le", "Contiene il riferimento all'atto regionale"},
    {"datini", 'D', 0, Yes, "Data immissione", "Contiene la data di immissione in servizio"},
    {"datfin", 'D', 0, No, "Data dismissione", "Contiene la data di dismissione dal servizio"},
    {"datrad", 'D', 0, No, "Data radiazione", "Contiene la data di radiazione"},
};

constexpr std::string_view CodeKey[] = {"codice"};
constexpr std::string_view CommunicationKey[] = {"azienda", "data"};
constexpr std::string_view ChassisKey[] = {"telaio"};
constexpr std::string_view ChassisDateKey[] = {"telaio", "data"};

constexpr TableSpec Tables[] = {
    {"regazi",
     "Codici Regionali Azienda",
     "Contiene la codificazione regionale delle Aziende",
     RegaziFields,
     {"Codici Regionali Azienda", "Elenca le aziende in ordine di codice regionale", CodeKey}},
    {"regprv",
     "Codici Regionali Ambiti",
     "Contiene la codificazione regionale degli Ambiti",
     RegprvFields,
     {"Codici Regionali Ambiti", "Elenca gli ambiti in ordine di codice regionale", CodeKey}},
    {"comunica",
     "Comunicazioni aziendali",
     "Contiene la codificazione delle comunicazioni aziendali",
     ComunicaFields,
     {"Codici Comunicazione", "Elenca le comunicazioni aziendali", CommunicationKey}},
    {"bus",
     "Autobus (dati originari)",
     "Contiene la codificazione degli autobus (dati originari)",
     VehicleFields,
     {"Codici Telaio", "Elenca i mezzi per codice telaio", ChassisKey}},
    {"storia",
     "Autobus (dati modificati)",
     "Contiene la codificazione degli autobus (dati modificati)",
     VehicleFields,
     {"Codici Telaio/Data", "Elenca i mezzi per codice telaio/data comunicazione", ChassisDateKey},
     "Contiene la data della comunicazione"},
};

constexpr PairSpec CompanyPair[] = {{"codice", "azienda"}};
constexpr PairSpec CommunicationPairs[] = {{"azienda", "azienda"}, {"data", "data"}};
constexpr PairSpec AmbitPair[] = {{"codice", "ambito"}};
constexpr PairSpec ChassisPair[] = {{"telaio", "telaio"}};

constexpr RelationSpec Relations[] = {
    {"comunica_azi", "regazi", "comunica", CompanyPair},
    {"bus_com", "comunica", "bus", CommunicationPairs},
    {"bus_prv", "regprv", "bus", AmbitPair},
    {"storia_com", "comunica", "storia", CommunicationPairs},
    {"storia_prv", "regprv", "storia", AmbitPair},
    {"storia_bus", "bus", "storia", ChassisPair},
};

// Every table has one index, its primary key, under the name the cursors select.
constexpr std::string_view KeyName = "codice";

std::string_view descriptionOf(const TableSpec& table, const FieldSpec& field) {
  if (field.name == "data" && !table.dataDescription.empty()) return table.dataDescription;
  return field.description;
}

void writeTable(DictionaryCursors& cursors, const TableSpec& table) {
  for (const auto& field : table.fields)
    AddFieldEntry(cursors.campi, table.name, field.name, field.letter, field.size, field.obligatory,
                  field.caption, descriptionOf(table, field), {}, {});
  AddIndexEntry(cursors.indici, table.name, KeyName, true, table.key.caption,
                table.key.description);
  for (size_t position = 0; position < table.key.fields.size(); ++position)
    AddIndexFieldEntry(cursors.indici2, table.name, KeyName, static_cast<int>(position),
                       table.key.fields[position]);
  AddTableEntry(cursors.tavole, table.name, table.caption, table.description);
}

void writeRelation(DictionaryCursors& cursors, const RelationSpec& relation) {
  AddRelationEntry(cursors.relaz, relation.name, relation.referencedTable,
                   relation.referencingTable);
  for (size_t position = 0; position < relation.pairs.size(); ++position)
    AddRelationFieldEntry(cursors.relaz2, relation.name, static_cast<int>(position),
                          relation.pairs[position].referencedField,
                          relation.pairs[position].referencingField);
}

}  // namespace

DictionaryCursors::DictionaryCursors(db::DatabaseConnection& connection)
    : tavole(&connection, "tavole"),
      campi(&connection, "campi"),
      indici(&connection, "indici"),
      indici2(&connection, "indici2"),
      relaz(&connection, "relaz"),
      relaz2(&connection, "relaz2") {}

void WriteApplicationDictionary(DictionaryCursors& cursors) {
  for (const auto& table : Tables) writeTable(cursors, table);
  for (const auto& relation : Relations) writeRelation(cursors, relation);
}

}  // namespace veltra::schema
