#include "gui/app/EditorApp.h"

int main(int argc, char** argv) {
    starfall::EditorApp app(argc, argv);
    return app.run();
}
