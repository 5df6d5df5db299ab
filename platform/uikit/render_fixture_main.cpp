// render_fixture <fixture.json> <out.png>: draws the view tree a fixture describes (see
// render_fixture.h) to a PNG. Warnings go to standard error. Exit status: 0 drawn, 1 the
// fixture could not be read, 2 wrong arguments, 3 the picture could not be made or written.
#include "uikit/image.h"
#include "uikit/render_fixture.h"
#include "uikit/snapshot.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: render_fixture <fixture.json> <out.png>\n";
        return 2;
    }
    const uikit::RenderFixture fixture = uikit::loadRenderFixture(argv[1]);
    for (const auto& warning : fixture.warnings)
        std::cerr << "render_fixture: warning: " << warning << "\n";
    if (!fixture.root) {
        std::cerr << "render_fixture: " << argv[1] << ": " << fixture.error << "\n";
        return 1;
    }
    const auto image = snapshotImage(fixture.root.get(), fixture.scale);
    if (!image || !image->writePNG(argv[2])) {
        std::cerr << "render_fixture: cannot write a picture to " << argv[2] << "\n";
        return 3;
    }
    return 0;
}
