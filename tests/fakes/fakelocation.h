#pragma once

#include "platform/location.h"

#include <vector>

class FakeLocationProvider final : public platform::ILocationProvider {
public:
    bool authorized = true;
    std::optional<GeoCoordinate> known;
    std::vector<Callback> requests;

    bool isAuthorized() override { return authorized; }
    std::optional<GeoCoordinate> lastKnown() override { return known; }
    void requestLocation(int, Callback done) override { requests.push_back(std::move(done)); }
};

class FakeReverseGeocoder final : public platform::IReverseGeocoder {
public:
    std::optional<QString> name;
    int calls = 0;
    void locality(const GeoCoordinate &, Callback done) override
    {
        ++calls;
        done(name);
    }
};
