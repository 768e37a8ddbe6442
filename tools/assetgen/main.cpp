// assetgen: writes every model, animation, image and sound the game loads into the
// folder given as the only argument. The output depends on nothing but this
// program (fixed seeds), so every run writes the same files. With --hostile it
// writes the broken and oversized files of the start-up tests instead.
#include "Characters.h"
#include "GltfWriter.h"
#include "HostileContent.h"
#include "Icons.h"
#include "Image.h"
#include "MapPieces.h"
#include "SkyAndFonts.h"
#include "Sounds.h"
#include "Textures.h"

#include <FreeImage.h>

#include <chrono>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

void writeCharacter(const assetgen::CharacterAsset& c, const std::filesystem::path& folder) {
    assetgen::savePng(c.atlas, folder / (c.baseName + ".png"));
    assetgen::writeSkinnedModel(folder, c.baseName, c.mesh, c.baseName + ".png", c.skeleton);
    for (const auto& [file, clip] : c.clips) assetgen::writeAnimation(folder, file, c.skeleton, clip);
}

}  // namespace

int main(int argc, char** argv) {
    const bool hostile = argc == 3 && std::string(argv[1]) == "--hostile";
    if (argc != 2 && !hostile) {
        std::cerr << "usage: assetgen OUTPUT_FOLDER | assetgen --hostile OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        if (hostile) {
            FreeImage_Initialise(FALSE);
            assetgen::writeHostileContent(argv[2]);
            FreeImage_DeInitialise();
            return 0;
        }
        auto started = std::chrono::steady_clock::now();
        FreeImage_Initialise(FALSE);
        const std::filesystem::path out = argv[1];
        const char* fonts = "/usr/share/fonts/truetype/dejavu/";
        assetgen::writeMapPieces(out / "map");
        writeCharacter(assetgen::buildPlayer(), out / "characters");
        writeCharacter(assetgen::buildBrute(), out / "characters");
        writeCharacter(assetgen::buildCrawler(), out / "characters");
        assetgen::writeSkyFaces(out / "sky", 512);
        assetgen::writeFontTexture(out / "fonts" / "overlay.png", (std::string(fonts) + "DejaVuSansMono.ttf").c_str(), 32);
        assetgen::writeFontTexture(out / "fonts" / "gameover.png", (std::string(fonts) + "DejaVuSansMono-Bold.ttf").c_str(), 64);
        assetgen::savePng(assetgen::standardTexture(64), out / "standard.png");
        assetgen::writeSounds(out / "sounds");
        assetgen::writeIcons(out / "icons");
        FreeImage_DeInitialise();
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        std::cout << "assetgen: wrote " << out.string() << " in " << ms.count() << " ms\n";
    } catch (const std::exception& e) {
        std::cerr << "assetgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
