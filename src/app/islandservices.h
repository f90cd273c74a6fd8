#pragma once

#include "island/notchviewmodel.h"

#include <memory>
#include <vector>

class ArcadeEngine;
class Mp3Exporter;

// The island's engines, stores and services, and the games' engines made from
// GameRegistry's rows, each made from what the island is built from. The
// composition root keeps one for the life of the program and hands its parts
// to the island's model; tests make one over fakes. Made before the model and
// gone after it.
class IslandServices {
public:
    explicit IslandServices(const IslandEnvironment &env);
    ~IslandServices();
    IslandServices(const IslandServices &) = delete;
    IslandServices &operator=(const IslandServices &) = delete;

    IslandParts parts() const;

private:
    // What the voice memos export with; made before them and gone after.
    std::unique_ptr<Mp3Exporter> m_mp3Exporter;
#define PAVLET_ISLAND_PART_OWNED(Type, name) std::unique_ptr<Type> m_##name;
    PAVLET_ISLAND_PARTS(PAVLET_ISLAND_PART_OWNED)
#undef PAVLET_ISLAND_PART_OWNED
    std::vector<std::unique_ptr<ArcadeEngine>> m_games;
};
