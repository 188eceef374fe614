// The sprite table: slots, removal during the move pass, depth order, animation and byte angles.
#include "fake_engine.h"
#include "uSpriteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// A sprite that counts its moves and may run a hook inside its Move.
class Probe : public CSprite {
  public:
    explicit Probe(int32_t z = 0, std::vector<int>* drawn = nullptr, int tag = 0) : drawn_(drawn), tag_(tag) {
        Z = z;
    }
    void Move() override {
        ++moves;
        if (hook) hook(*this);
        CSprite::Move();
    }
    void Draw() override {
        if (drawn_) drawn_->push_back(tag_);
        CSprite::Draw();
    }
    int moves = 0;
    std::function<void(Probe&)> hook;

  private:
    std::vector<int>* drawn_;
    int tag_;
};

class SpriteTable : public ::testing::Test {
  protected:
    void SetUp() override { engine = &fake::Install(); }
    Probe* Add(int32_t z = 0) { return table.Add<Probe>(z, &drawn, z); }
    void ExpectConsistent() {
        ASSERT_EQ(table.Count, static_cast<int32_t>(table.List.size()));
        ASSERT_EQ(table.Count, static_cast<int32_t>(table.Order.size()));
        for (int32_t i = 0; i < table.Count; ++i)
            EXPECT_EQ(table.At(i)->ID, i);
        std::vector<int32_t> sorted = table.Order;
        std::sort(sorted.begin(), sorted.end());
        for (int32_t i = 0; i < table.Count; ++i)
            EXPECT_EQ(sorted[static_cast<size_t>(i)], i);
    }
    fake::Engine* engine = nullptr;
    CSpriteEngine table;
    std::vector<int> drawn;
};

TEST_F(SpriteTable, SlotsAreAppendedAndRemovalRenumbersTheSpritesBehind) {
    std::vector<Probe*> s;
    for (int i = 0; i < 5; ++i)
        s.push_back(Add(i * 10));
    EXPECT_EQ(table.NewSlot(), 5); // the raw step: an empty slot at the end, drawn last
    EXPECT_EQ(table.Order.back(), 5);
    table.List[5] = std::make_unique<Probe>(50); // the creator fills it and sets the ID
    table.At(5)->ID = 5;
    s.push_back(static_cast<Probe*>(table.At(5)));

    table.RemoveSprite(2);
    ASSERT_EQ(table.Count, 5);
    EXPECT_EQ(table.At(2), s[3]);
    EXPECT_EQ(table.At(3), s[4]);
    EXPECT_EQ(table.Order, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    ExpectConsistent();

    CSpriteEngine empty;
    empty.RemoveSprite(0); // nothing to remove: no effect
    EXPECT_EQ(empty.Count, 0);
}

TEST_F(SpriteTable, MovePassRemovesDeadSpritesAndMovesEveryoneElseOnce) {
    Probe* a = Add();
    Probe* b = Add();
    Probe* c = Add();
    Probe* d = Add();
    b->Dead = true;
    c->Dead = true; // two adjacent dead sprites go in one pass...
    table.Move();
    ASSERT_EQ(table.Count, 2);
    EXPECT_EQ(table.At(1), d);
    EXPECT_EQ(d->moves, 1); // ...and the sprite that slid into their slot is moved in that pass
    EXPECT_EQ(a->moves, 1);
    ExpectConsistent();
}

TEST_F(SpriteTable, SpritesMarkedDuringThePassGoNowIfBehindAndNextPassIfAhead) {
    Probe* first = Add();
    Probe* marker = Add();
    Probe* last = Add();
    bool lastMoved = false;
    last->hook = [&](Probe&) { lastMoved = true; };
    marker->hook = [&](Probe&) {
        first->Dead = true; // already passed: removed on the next pass
        last->Dead = true;  // still ahead: removed in this pass, never moved
    };
    table.Move();
    EXPECT_EQ(table.Count, 2);
    EXPECT_EQ(table.At(0), first);
    EXPECT_FALSE(lastMoved); // freed by the pass, never moved
    marker->hook = nullptr;
    table.Move();
    ASSERT_EQ(table.Count, 1);
    EXPECT_EQ(table.At(0), marker);
    EXPECT_EQ(marker->ID, 0);
}

TEST_F(SpriteTable, SpritesBornDuringThePassMoveInIt) {
    Probe* parent = Add();
    Probe* child = nullptr;
    parent->hook = [&](Probe&) {
        if (!child) child = Add();
    };
    table.Move();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->moves, 1);
    EXPECT_EQ(child->ID, 1);
}

TEST_F(SpriteTable, DrawOrderFollowsDepthInTheChosenDirection) {
    Add(5);
    Add(1);
    Add(3);
    table.SortAscending = true;
    table.Draw();
    EXPECT_EQ(drawn, (std::vector<int>{1, 3, 5}));
    drawn.clear();
    table.SortAscending = false;
    table.Draw();
    EXPECT_EQ(drawn, (std::vector<int>{5, 3, 1}));

    CSpriteEngine empty;
    empty.Draw(); // nothing to draw, nothing to sort
}

TEST_F(SpriteTable, TheQuicksortOrdersAnyDepthsIncludingDuplicatesAndExtremes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> z(-20000, 20000);
    for (int i = 0; i < 300; ++i)
        Add(i % 7 == 0 ? INT32_MIN + i : z(rng));
    Add(INT32_MAX);
    for (bool ascending : {true, false}) {
        table.SortAscending = ascending;
        table.Draw();
        std::vector<int32_t> zs;
        for (int32_t slot : table.Order)
            zs.push_back(table.At(slot)->Z);
        if (ascending)
            EXPECT_TRUE(std::is_sorted(zs.begin(), zs.end()));
        else
            EXPECT_TRUE(std::is_sorted(zs.rbegin(), zs.rend()));
        ExpectConsistent();
    }
}

TEST_F(SpriteTable, AnimationRunsOnePastTheLastFrameThenWrapsToOne) {
    Probe* s = Add();
    s->Texture = engine->NewTexture(2, 2);
    s->Animated = true;
    s->AnimSpeed = 1.0f;
    std::vector<int32_t> frames;
    for (int tick = 0; tick < 6; ++tick) {
        table.Draw();
        frames.push_back(engine->draws.back().frame);
        table.Move();
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{1, 2, 3, 4, 5, 1}));

    // Frames are rounded half to even on the way to the engine.
    s->Frame = 2.5f;
    engine->draws.clear();
    table.Draw();
    EXPECT_EQ(engine->draws.back().frame, 2);
}

TEST_F(SpriteTable, ASpriteWithoutAPictureIsMovedButDrawsNothing) {
    Probe* s = Add();
    Probe* still = Add(1);
    still->Texture = engine->NewTexture();
    still->X = 3;
    still->Y = 4;
    still->W = 60;
    still->H = 50;
    still->Angle = 90;
    still->Alpha = 128;
    table.Move();
    table.Draw();
    EXPECT_EQ(s->moves, 1);
    ASSERT_EQ(engine->draws.size(), 1u);
    const fake::DrawCall& d = engine->draws[0];
    EXPECT_EQ(d.texture, still->Texture);
    EXPECT_EQ(d.frame, 0); // not animated: the whole picture
    EXPECT_FLOAT_EQ(d.x + d.y + d.w + d.h + d.angle, 3 + 4 + 60 + 50 + 90);
    EXPECT_EQ(d.alpha, 128);
    EXPECT_EQ(d.fx, 1);
}

// The table as it closed up before the move pass did it in one walk: each dead sprite on its own, at once,
// renumbering every sprite behind it. The pass must leave game code nothing to tell the two apart.
class OneByOneTable : public CSpriteEngine {
  public:
    void Move() override {
        for (int32_t i = 0; i <= Count - 1; ++i) {
            CSprite* s = At(i);
            if (s->Dead) {
                RemoveSprite(s->ID);
                --i;
            } else {
                s->Move();
            }
        }
    }
};

// A busy pass: sprites that mark others (behind and ahead) and themselves dead, give birth, and write down
// what game code looks at from inside a move: the mover's own slot, the sprite in it, and the sprites a walk
// of the list finds (as clearing and looking up kinds do). Freed sprites write down when they go.
struct Stage {
    explicit Stage(CSpriteEngine& t) : table(&t) {}
    CSpriteEngine* table;
    std::mt19937 rng{2024};
    std::vector<std::string> log;
    int nextTag = 0;
    bool quiet = false; // the second quiet pass in a row frees nothing: it keeps the last sort's order
};

class Actor : public CSprite {
  public:
    explicit Actor(Stage& stage) : stage_(stage), tag_(stage.nextTag++) {
        Z = std::uniform_int_distribution<int32_t>(0, 9)(stage.rng);
    }
    ~Actor() override { stage_.log.push_back("gone " + std::to_string(tag_)); }
    void Move() override {
        CSpriteEngine& table = *stage_.table;
        std::string seen = "move " + std::to_string(tag_) + " at " + std::to_string(ID) +
                           (table.At(ID) == this ? " self" : " OTHER") + " sees";
        std::vector<Actor*> living;
        for (const auto& s : table.List) {
            if (!s) continue;
            auto* actor = static_cast<Actor*>(s.get());
            living.push_back(actor);
            seen += " " + std::to_string(actor->tag_) + (actor->Dead ? "d" : "");
        }
        stage_.log.push_back(seen);
        if (stage_.quiet) return;
        std::uniform_int_distribution<int> roll(0, 99);
        if (roll(stage_.rng) < 30) {
            std::uniform_int_distribution<size_t> pick(0, living.size() - 1);
            living[pick(stage_.rng)]->Dead = true;
        }
        if (roll(stage_.rng) < 10) Dead = true;
        if (roll(stage_.rng) < 25 && table.Count < 60) table.Add<Actor>(stage_);
    }

  private:
    Stage& stage_;
    int tag_;
};

std::vector<std::string> Play(CSpriteEngine& table) {
    Stage stage(table);
    for (int i = 0; i < 40; ++i)
        table.Add<Actor>(stage)->Dead = i % 7 == 3;
    for (int pass = 0; pass < 40; ++pass) {
        stage.quiet = pass % 5 >= 3;
        table.Move();
        std::string after = "after pass " + std::to_string(pass) + ": count " + std::to_string(table.Count);
        for (int32_t i = 0; i < table.Count; ++i)
            after += " " + std::to_string(table.At(i)->ID) + "/" + std::to_string(table.Order[size_t(i)]);
        stage.log.push_back(after);
        table.Draw(); // the sort leaves its order for the next pass to start from
        if (table.Count < 20)
            for (int i = 0; i < 15; ++i)
                table.Add<Actor>(stage);
    }
    table.List.clear(); // the last sprites go while the stage still listens
    return stage.log;
}

TEST_F(SpriteTable, TheMovePassIsIndistinguishableFromClosingUpEachRemovalAtOnce) {
    CSpriteEngine table;
    OneByOneTable reference;
    table.SortAscending = reference.SortAscending = true;
    const std::vector<std::string> got = Play(table), want = Play(reference);
    EXPECT_GT(
        std::count_if(want.begin(), want.end(), [](const std::string& l) { return l.starts_with("gone"); }),
        200);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << "line " << i;
}

// Sprites of any size, from a bare sprite to one beyond the largest the free lists keep, each filled with its
// own byte.
class Ballast : public CSprite {
  public:
    explicit Ballast(uint8_t fill) : fill_(fill) { Write(); }
    virtual void Write() { FX = fill_; }
    virtual bool Intact() const { return FX == fill_; }
    virtual std::pair<const std::byte*, size_t> Extent() const {
        return {reinterpret_cast<const std::byte*>(this), sizeof(*this)};
    }

  protected:
    uint8_t fill_;
};

template <size_t N> class SizedBallast : public Ballast {
  public:
    explicit SizedBallast(uint8_t fill) : Ballast(fill) { Write(); }
    void Write() override {
        Ballast::Write();
        payload_.fill(fill_);
    }
    bool Intact() const override {
        return Ballast::Intact() &&
               std::all_of(payload_.begin(), payload_.end(), [this](uint8_t b) { return b == fill_; });
    }
    std::pair<const std::byte*, size_t> Extent() const override {
        return {reinterpret_cast<const std::byte*>(this), sizeof(*this)};
    }

  private:
    std::array<uint8_t, N> payload_{};
};

// Freed sprites' memory is handed out again: however sprites of mixed sizes come and go, no two living ones
// share a byte and each keeps what was written into it.
TEST(SpriteMemory, LivingSpritesNeverShareMemoryWhateverSizesComeAndGo) {
    std::mt19937 rng(7);
    std::vector<std::unique_ptr<Ballast>> living;
    std::uniform_int_distribution<int> roll(0, 99), kind(0, 4);
    uint8_t fill = 0;
    for (int step = 0; step < 5000; ++step) {
        if (!living.empty() && roll(rng) < 45) {
            std::uniform_int_distribution<size_t> pick(0, living.size() - 1);
            const size_t i = pick(rng);
            ASSERT_TRUE(living[i]->Intact()) << "step " << step;
            living[i] = std::move(living.back());
            living.pop_back();
            continue;
        }
        ++fill;
        switch (kind(rng)) {
        case 0:
            living.push_back(std::make_unique<Ballast>(fill));
            break;
        case 1:
            living.push_back(std::make_unique<SizedBallast<8>>(fill));
            break;
        case 2:
            living.push_back(std::make_unique<SizedBallast<200>>(fill));
            break;
        case 3:
            living.push_back(std::make_unique<SizedBallast<1000>>(fill));
            break;
        default:
            living.push_back(std::make_unique<SizedBallast<5000>>(fill));
            break;
        }
    }
    std::vector<std::pair<const std::byte*, size_t>> extents;
    for (const auto& b : living) {
        EXPECT_TRUE(b->Intact());
        extents.push_back(b->Extent());
    }
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i)
        EXPECT_GE(extents[i].first, extents[i - 1].first + extents[i - 1].second);
    EXPECT_GT(living.size(), 100u);
}

TEST(ByteAngles, TheTableIsBuiltWithThreePointOneFour) {
    BuildCosTable();
    EXPECT_DOUBLE_EQ(CosB(0), 1.0);
    EXPECT_DOUBLE_EQ(SinB(64), 1.0);
    EXPECT_NEAR(SinB(0), -0.0024, 0.0001);
    EXPECT_DOUBLE_EQ(SinB(0), CosB(192));
    EXPECT_NEAR(CosB(64), 0.0008, 0.0001); // not zero: 3.14 is short of pi
    EXPECT_NEAR(CosB(128), -1.0, 0.00001);
    EXPECT_DOUBLE_EQ(SinB(255), CosB(191));
}

TEST(IntToText, WritesSignedDecimal) {
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(1200), "1200");
    EXPECT_EQ(IntToText(INT32_MIN), "-2147483648");
}

} // namespace
