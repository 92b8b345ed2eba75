#pragma once

#include "TestSupport.h"

#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameResource.h"
#include "Object.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

/// Runs a test on the real engine with the game's own sprites and sounds, without a window.
/// rand() is seeded with 1 before and after every test.
class GameFixture : public ::testing::Test {
protected:
    GameFixture() : engine(lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES)
    {
        loadResources();
        srand(1);
    }

    ~GameFixture() override
    {
        lu::GameManager::instance().setGameOver(false);
        srand(1);
    }

    /// Hands a key event to every object, as the input manager does at the start of a frame; returns
    /// how many handled it.
    static int key(int code, lu::KeyAction action = lu::KEY_PRESSED)
    {
        lu::EventKeyboard event;
        event.setKey(code);
        event.setKeyAction(action);
        return lu::WorldManager::instance().broadcastEvent(&event);
    }

    static void frames(int count)
    {
        for (int i = 0; i < count; i++) {
            lu::GameManager::instance().runFrame();
        }
    }

    /// Returns the objects of the type (all of them for ""), in the world's order.
    static std::vector<lu::Object*> objectsOfType(const std::string& type)
    {
        std::vector<lu::Object*> found;
        lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
        for (int i = 0; i < all.getCount(); i++) {
            if (type.empty() || all.at(i)->getType() == type) {
                found.push_back(all.at(i));
            }
        }
        return found;
    }

    static bool alive(int id)
    {
        std::vector<lu::Object*> all = objectsOfType("");
        return std::any_of(all.begin(), all.end(), [id](lu::Object* object) { return object->getId() == id; });
    }

    /// Returns the position rounded to whole cells, as "(x,y)".
    static std::string cell(lu::Vector at)
    {
        return "(" + std::to_string(std::lround(at.getX())) + "," + std::to_string(std::lround(at.getY())) + ")";
    }

    lutest::EngineScope engine;
};
