// Creates an ERP database from the test schema: tessoraCriarBancoErp <database> <script>...
#include <iostream>
#include <vector>

#include "script_sql.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "uso: " << argv[0] << " <banco> [script.sql ...]\n";
        return 2;
    }
    try {
        tessora::ferramentas::CriarBancoErp(
            argv[1], std::vector<std::filesystem::path>(argv + 2, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
