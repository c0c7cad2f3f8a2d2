#include "SoftRecord.h"

#include <cstring>

namespace {
void SetSlot(char* slot, std::size_t size, const char* hex)
{
    std::strncpy(slot, hex, size - 1);
    slot[size - 1] = '\0';
}
} // namespace

void FillSoftRecord(tagSoft* soft)
{
    // In GBK: "Zanfor 工作室", "Zanfor", "2, 0, 5, 27", "版权所有 (C) 2026 Zanfor 工作室".
    SetSlot(soft->company, sizeof soft->company, "5A616E666F7220B9A4D7F7CAD2");
    SetSlot(soft->version, sizeof soft->version, "322C20302C20352C203237");
    SetSlot(soft->name, sizeof soft->name, "5A616E666F72");
    SetSlot(soft->copyright, sizeof soft->copyright,
            "B0E6C8A8CBF9D3D0202843292032303236205A616E666F7220B9A4D7F7CAD2");
}
