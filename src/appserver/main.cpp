// ktr52300-server: the commission tables' application server (JSON-RPC over TCP, SQLite storage).
#include <filesystem>
#include <iostream>

#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/options.h"
#include "appserver/request_handler.h"
#include "appserver/server.h"
#include "appserver/sqlite_store.h"

int main(int argc, char** argv) {
    using namespace appserver;
    CommandLine cl;
    try {
        cl = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "ktr52300-server: " << e.what() << "\n" << usage();
        return 2;
    }
    if (cl.help) {
        std::cout << usage();
        return 0;
    }
    try {
        const std::filesystem::path db(cl.dbPath);
        if (db.has_parent_path()) std::filesystem::create_directories(db.parent_path());
        SqliteStore store(cl.dbPath);
        if (cl.demo && store.isEmpty()) seedDemo(store);
        const Dispatcher dispatcher(store);
        const RequestHandler handler(dispatcher);
        Server server(handler, cl.server);
        if (cl.server.port == 0) std::cout << server.port() << std::endl;  // callers wait for this line
        server.run();
    } catch (const std::exception& e) {
        std::cerr << "ktr52300-server: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
