#include "vehicles/Player.h"
#include "vehicles/Car.h"
#include "vehicles/TCallback.h"

#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const std::string unboundMessage = "ERROR : the callback function has not been defined !!!!";

struct Receiver {
    void note(std::int32_t value) { received += value; }
    std::int32_t received = 0;
};

} // namespace

TEST(Callbacks, AnUnboundCallOnlyComplains)
{
    Player player("Player 2");
    Car* const car = player.getCar();
    EXPECT_EQ(player.getExplosion(), nullptr);

    // Once per call, without a line break between them.
    EXPECT_EQ(printedBy([&] {
                  player.getCallback()->call(7);
                  player.getCallback()->call(-1);
              }),
              unboundMessage + unboundMessage);
    EXPECT_EQ(printedBy([&] { car->callback->call(3); }), unboundMessage);

    EXPECT_EQ(player.getName(), "Player 2");
    EXPECT_EQ(player.getCar(), car);
    EXPECT_EQ(player.getExplosion(), nullptr);
    EXPECT_EQ(*car->speed, 0.0f);
    EXPECT_EQ(*car->modelMatrix, glm::mat4(1.0f));
}

TEST(Callbacks, ABoundCallReachesItsObjectSilently)
{
    Receiver receiver;
    TCallback<Receiver> callback(&receiver, &Receiver::note);
    EXPECT_EQ(printedBy([&] {
                  callback.call(40);
                  callback.call(2);
              }),
              "");
    EXPECT_EQ(receiver.received, 42);
}
