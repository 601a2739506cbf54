// The files a show names, from the shader and texture libraries and the mesh loader's records.
#include "demo/ShowFiles.h"
#include <algorithm>
#include <filesystem>
#include "effects/ObjLoader.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"

namespace {
enum class Kind { Script, Stage, Texture, Mesh };

struct NamedFile {
    std::string path; // normalised
    Kind kind;
    std::string name; // as the library knows it
};

std::string normal(const std::string& path)
{
    return std::filesystem::path(path).lexically_normal().generic_string();
}

std::vector<NamedFile> named(const std::string& scriptPath)
{
    std::vector<NamedFile> files{{normal(scriptPath), Kind::Script, scriptPath}};
    for (const std::string& stage : namedShaderStages())
        files.push_back({normal("data/shaders/" + stage), Kind::Stage, stage});
    for (const std::string& texture : namedTextures()) {
        files.push_back({normal(texture), Kind::Texture, texture});
        files.push_back({normal("data/textures/" + texture), Kind::Texture, texture});
    }
    for (const std::string& mesh : namedMeshFiles()) files.push_back({normal(mesh), Kind::Mesh, mesh});
    return files;
}

bool holdsSomething(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && size > 0;
}

// A held stage or texture into place; the rest waits for the rebuild.
void loadAgain(const NamedFile& file)
{
    if (file.kind == Kind::Stage) reloadShaderStage(file.name);
    if (file.kind == Kind::Texture) reloadTexture(file.name);
}
} // namespace

std::vector<std::string> namedFiles(const std::string& scriptPath)
{
    std::vector<std::string> paths;
    for (const NamedFile& file : named(scriptPath)) paths.push_back(file.path);
    return paths;
}

std::vector<std::string> takeChangedFiles(const std::vector<std::string>& changed, const std::string& scriptPath)
{
    const std::vector<NamedFile> files = named(scriptPath);
    std::vector<std::string> taken;
    for (const std::string& changedPath : changed) {
        const std::string path = normal(changedPath);
        const auto is = [&](const NamedFile& file) { return file.path == path; };
        if (std::find(taken.begin(), taken.end(), path) != taken.end()) continue;
        if (std::none_of(files.begin(), files.end(), is) || !holdsSomething(path)) continue;
        for (const NamedFile& file : files)
            if (is(file)) loadAgain(file);
        taken.push_back(path);
    }
    return taken;
}

void reloadHeldFiles()
{
    for (const std::string& stage : cachedShaderStages()) reloadShaderStage(stage);
    for (const std::string& texture : cachedTextureNames()) reloadTexture(texture);
}
