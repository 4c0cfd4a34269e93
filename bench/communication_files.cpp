// Writes generated company communications for the benchmark scripts, which
// time the real veltra-cli importing them (bench/server_vs_file.sh):
//   communication_files DIR COMPANIES VEHICLES
// writes DIR/azienda_N.txt for companies 1..COMPANIES, each listing VEHICLES
// new vehicles on 15/03/2024. The same arguments give the same bytes.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "comms/TaggedFileWriter.h"
#include "synthetic/SyntheticCommunication.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "uso: %s CARTELLA AZIENDE VEICOLI\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const int companies = std::atoi(argv[2]);
  const auto vehicles = static_cast<std::size_t>(std::atol(argv[3]));
  std::filesystem::create_directories(folder);
  for (int azienda = 1; azienda <= companies; ++azienda) {
    const auto text = veltra::comms::CommunicationFileText(
        veltra::testing::SyntheticCommunication(azienda, "15/03/2024", vehicles));
    if (!text) return 1;
    std::ofstream(folder / ("azienda_" + std::to_string(azienda) + ".txt"), std::ios::binary)
        << *text;
  }
  return 0;
}
