#include "app/CEditorApp.h"

int main(int argc, char** argv) {
    starfall::CEditorApp app(argc, argv);
    return app.run();
}
