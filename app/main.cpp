#include "app/CTarnelManagerApp.h"

int main(int argc, char** argv) {
    CTarnelManagerApp app(argc, argv);
    return app.Run();
}
