// velmar-make-database FOLDER: writes the full-size synthetic database (the
// fifteen .db files) into FOLDER, for trying the program or the CLI on a
// database of real size.
#include <cstdio>

#include "bench/make_database.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmar-make-database FOLDER\n");
    return 2;
  }
  const velmar::SyntheticDatabase database = velmar::MakeSyntheticDatabase(argv[1]);
  if (!database.ok) {
    std::fprintf(stderr, "velmar-make-database: cannot write the database into %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %ju bytes in 15 files, month files %ju bytes on average, %ld entries\n",
              argv[1], database.bytes, database.monthBytes / 12, database.entries);
  return 0;
}
