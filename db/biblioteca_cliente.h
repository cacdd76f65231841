#pragma once

#include <ibase.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tessora::db {

// The functions of Firebird's classic C interface that the database layer calls, as the
// client library exports them: every client from Firebird 1.5 on has them, under the calling
// convention that ibase.h declares (stdcall on 32-bit Windows).
struct FuncoesCliente {
    decltype(&::isc_attach_database) isc_attach_database;
    decltype(&::isc_create_database) isc_create_database;
    decltype(&::isc_detach_database) isc_detach_database;
    decltype(&::isc_start_transaction) isc_start_transaction;
    decltype(&::isc_commit_retaining) isc_commit_retaining;
    decltype(&::isc_commit_transaction) isc_commit_transaction;
    decltype(&::isc_rollback_transaction) isc_rollback_transaction;
    decltype(&::isc_dsql_allocate_statement) isc_dsql_allocate_statement;
    decltype(&::isc_dsql_prepare) isc_dsql_prepare;
    decltype(&::isc_dsql_describe) isc_dsql_describe;
    decltype(&::isc_dsql_sql_info) isc_dsql_sql_info;
    decltype(&::isc_dsql_execute) isc_dsql_execute;
    decltype(&::isc_dsql_execute2) isc_dsql_execute2;
    decltype(&::isc_dsql_fetch) isc_dsql_fetch;
    decltype(&::isc_dsql_free_statement) isc_dsql_free_statement;
    decltype(&::isc_open_blob2) isc_open_blob2;
    decltype(&::isc_get_segment) isc_get_segment;
    decltype(&::isc_close_blob) isc_close_blob;
    // The header marks it deprecated; it is the only message formatter before Firebird 2.0.
    ISC_LONG(ISC_EXPORT* isc_interprete)(ISC_SCHAR*, const ISC_STATUS**);
    // Firebird 2.0 and later, which bound the message to the buffer; null in older clients.
    decltype(&::fb_interpret) fb_interpret;
};

// The file names of the Firebird client library, in the order they are tried: on Windows
// "gds32.dll", the name the ERP's installation provides, then "fbclient.dll".
const std::vector<std::string>& NomesBibliotecaCliente();

// Loads the first of `nomes` that the program folder, then the system's search order,
// provides as a usable client library, and takes its functions. When none can be used,
// raises ErroBancoDados saying why in the operator's words: no library, a library of the
// other bitness, a file that is no library, or a library without a function of the list.
FuncoesCliente CarregarClienteFirebird(const std::filesystem::path& pastaPrograma,
                                       const std::vector<std::string>& nomes);

}  // namespace tessora::db
