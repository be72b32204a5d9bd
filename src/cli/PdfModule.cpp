#include "cli/PdfModule.h"

#include "model/Errors.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>

namespace kolvane {

namespace fs = std::filesystem;

std::vector<std::string> PdfModulePaths(const std::string& programFolder) {
    const fs::path own = programFolder.empty() ? fs::path(".") : fs::path(programFolder);
    return {(own / kPdfModuleFile).lexically_normal().string(),
            (own / ".." / "lib" / "kolvane" / kPdfModuleFile).lexically_normal().string()};
}

namespace {

PdfModuleEntry LoadPdfModule(const std::vector<std::string>& paths) {
    std::error_code ec;
    std::string tried;
    for (const std::string& path : paths) {
        if (!fs::exists(path, ec)) {
            tried += (tried.empty() ? "" : "、") + path;
            continue;
        }
        // Every symbol is bound now, so that a module that does not fit the
        // program fails here with a message instead of aborting on a call.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            throw Error("无法载入PDF导出模块" + path + "：" + (why ? why : "未知原因"));
        }
        // Qt, once loaded, stays: the module is never unloaded.
        void* entry = dlsym(handle, kPdfModuleEntry);
        if (!entry)
            throw Error("PDF导出模块" + path + "不是这个程序的版本（没有" + kPdfModuleEntry + "）");
        return reinterpret_cast<PdfModuleEntry>(entry);
    }
    throw Error(std::string("找不到PDF导出模块") + kPdfModuleFile + "（查找了" + tried +
                "），不能写PDF报告；可以写 .txt、.rtf 或 .doc 报告");
}

} // namespace

std::function<void(const TFormKolvane&, const std::string&)>
PdfModuleWriter(std::vector<std::string> paths) {
    auto entry = std::make_shared<PdfModuleEntry>(nullptr);
    return [paths = std::move(paths), entry](const TFormKolvane& window, const std::string& path) {
        if (!*entry) *entry = LoadPdfModule(paths);
        (*entry)(window, path);
    };
}

} // namespace kolvane
