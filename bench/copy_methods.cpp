// Times a split and a restore of one file with the kernel copy and with the two block buffers, so
// the faster way can be kept. Usage: copy_methods FILE WORKDIR [BLOCK_BYTES] [RUNS]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KPXBlockCopy.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXSepaCtrl.h"
#include "tkvFileString.h"

namespace {

double Seconds(const std::function<bool()>& agRun) {
    const auto start = std::chrono::steady_clock::now();
    if (!agRun()) {
        std::fprintf(stderr, "run failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Flushes what the last step wrote, so it does not slow down the next one.
void Settle() { ::sync(); }

double Median(std::vector<double> agValues) {
    std::sort(agValues.begin(), agValues.end());
    return agValues[agValues.size() / 2];
}

bool Split(const std::string& agSource, const std::string& agFolder, int32_t agBlock) {
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto sepaData = std::make_shared<KPXSepaData>();
    sepaCtrl->SetSepaData(sepaData);
    sepaData->SetFileAddress(agSource);
    sepaData->SetTransmissionByteSize(agBlock);
    int64_t size = 0;
    tkvFileString::GetFileLength(agSource, size);
    KPXDecideFileSize decideSize;
    decideSize.SetSepaMode(1);
    decideSize.SetHowToSeparate(KPXDecideFileSize::kBySize);
    decideSize.SetFileSizeToSeparate(100 * 1024 * 1024);
    decideSize.SetFileSize(size);
    decideSize.SetSepaData(sepaData);
    KPXDecideFileName decideName;
    decideName.SetHowToName(KPXDecideFileName::kPaddedNumber);
    decideName.SetBaseFileAddress(agFolder);
    decideName.SetBaseFileName("piece");
    decideName.SetSepaData(sepaData);
    return decideSize.Decide() && decideName.Decide() && sepaData->DecideSpecAndTurnID() &&
           sepaCtrl->Separate();
}

bool Restore(const std::string& agFolder, const std::string& agTarget, int32_t agBlock) {
    std::vector<std::string> pieces;
    for (const auto& entry : std::filesystem::directory_iterator(agFolder)) {
        pieces.push_back(entry.path().string());
    }
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto sepaData = std::make_shared<KPXSepaData>();
    sepaCtrl->SetSepaData(sepaData);
    sepaData->SetFileAddress(agTarget);
    sepaData->SetTransmissionByteSize(agBlock);
    sepaData->Initialize(static_cast<int32_t>(pieces.size()));
    for (size_t i = 0; i < pieces.size(); ++i) {
        sepaData->DividoraData(static_cast<int32_t>(i))->SetFileAddress(pieces[i]);
    }
    return sepaCtrl->Restore();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: copy_methods FILE WORKDIR [BLOCK_BYTES] [RUNS]\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string work = argv[2];
    const int32_t block = argc > 3 ? std::stoi(argv[3]) : 1048576;
    const int runs = argc > 4 ? std::stoi(argv[4]) : 5;
    // The two ways alternate run by run, so drift of the machine hits both alike.
    std::vector<double> splits[2];
    std::vector<double> restores[2];
    for (int run = 0; run < runs; ++run) {
        for (int kernel = 0; kernel < 2; ++kernel) {
            KPXBlockCopy::SetUseKernelCopy(kernel == 1);
            std::filesystem::remove_all(work);
            std::filesystem::create_directories(work + "/pieces");
            std::filesystem::create_directories(work + "/restored");
            Settle();
            splits[kernel].push_back(
                Seconds([&] { return Split(source, work + "/pieces", block); }));
            Settle();
            restores[kernel].push_back(
                Seconds([&] { return Restore(work + "/pieces", work + "/restored", block); }));
        }
    }
    for (int kernel = 0; kernel < 2; ++kernel) {
        std::printf("%-15s split median %.3f s, restore median %.3f s\n",
                    kernel == 1 ? "copy_file_range" : "read/write", Median(splits[kernel]),
                    Median(restores[kernel]));
    }
    std::filesystem::remove_all(work);
    return 0;
}
