#pragma once

#include "tests/reliability/NameAlphabet.h"
#include "tests/reliability/TileFileModel.h"

#include <QString>

#include <memory>
#include <random>
#include <string>
#include <vector>

class QListWidget;
class TTileData;

// Drives a tile data store and a TileFileModel with the same random
// operations and compares them: every getter against the model, and after
// every save the file against the model byte for byte and every byte
// outside the records against the file as it was made. A mismatch throws
// std::runtime_error naming the step and the operation.
class StoreModelRun
{
public:
    // Path must hold Original, the file as made; the run saves over it.
    StoreModelRun(std::uint32_t Seed, const QString &Path, std::vector<unsigned char> Original);
    ~StoreModelRun();

    void Run(int Steps);

    int SaveCount() const { return FSaves; }

private:
    void Step();
    void SetRandomField();
    void SetRandomName();
    void ReplaceRandomName();
    void FindRandomName();
    void CheckTile(int tile);
    void Save();
    void Reload();
    void Reopen();
    void FillList();

    int RandomTile();
    int RandomValue();
    NameAlphabet::Text NameOfRandomTile();
    QString ExpectedLine(int tile) const;
    std::vector<unsigned char> ReadFile() const;
    void CheckFileEqualsModel();
    [[noreturn]] void Fail(const std::string &what) const;

    std::mt19937 FRandom;
    QString FPath;
    std::vector<unsigned char> FOriginal;
    // [begin, end) of every run of bytes that belongs to no record
    std::vector<TileFileModel::Span> FOutsideRecords;
    std::vector<unsigned char> FDisk; // what the file must hold now
    TileFileModel FModel;
    std::unique_ptr<TTileData> FStore;
    std::unique_ptr<QListWidget> FList;
    int FStep = 0;
    int FSaves = 0;
    std::string FOperation;
};
