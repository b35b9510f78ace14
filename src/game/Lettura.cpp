#include "game/Lettura.h"

#include "game/Annunci.h"
#include "game/GameScreen.h"

#include <algorithm>
#include <tuple>

namespace tarvo {

namespace {

const Control* lookup(const Window& w, std::string_view name, int index = -1)
{
    return w.find(name, index);
}

bool inside(const Control& c, const Control& container)
{
    for (const Control* p = c.container(); p; p = p->container())
        if (p == &container)
            return true;
    return false;
}

// A picture box holding labels (the celebration's letter tiles) reads as one word.
bool readsAsText(const Control& picture)
{
    if (!picture.is(Kind::PictureBox))
        return false;
    for (const auto& c : picture.window().controls())
        if (c->is(Kind::Label) && inside(*c, picture))
            return true;
    return false;
}

bool holdsAnything(const Control& container)
{
    for (const auto& c : container.window().controls())
        if (c->container() == &container)
            return true;
    return false;
}

bool isAnswerCell(const Control& c)
{
    return c.is(Kind::Label) && c.name() == "lblRisultato" && c.index() >= 0;
}

int absoluteLeft(const Control& c)
{
    int left = c.left();
    for (const Control* p = c.container(); p; p = p->container())
        left += p->left();
    return left;
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A caption spelled out letter by letter, as the close buttons' "C h i u d i", reads as its word:
// a reader would otherwise say each letter.
std::string unspaced(const std::string& s)
{
    if (s.size() < 3 || s.size() % 2 == 0)
        return s;
    std::string word;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((s[i] == ' ') != (i % 2 == 1))
            return s;
        if (i % 2 == 0)
            word += s[i];
    }
    return word;
}

// Where a control of the tarvo stands in its reading: the centre number, then ray by ray its
// subtrahend and its answer cell. -1 for anything else.
int tarvoRank(const Control& c)
{
    const Window& w = c.window();
    const Control* centre = lookup(w, "Label1");
    if (!centre || !lookup(w, "lblRisultato", 0) || centre->container() != c.container())
        return -1;
    if (&c == centre)
        return 0;
    if (isAnswerCell(c))
        return 2 + 2 * c.index();
    if (c.name() == "Label2" && c.index() >= 0 && lookup(w, "lblRisultato", c.index()))
        return 1 + 2 * c.index();
    return -1;
}

bool leftOf(const Control* a, const Control* b)
{
    return absoluteLeft(*a) < absoluteLeft(*b);
}

// The reading order among siblings: the tarvo's own ranks first, then the others by place.
bool readBefore(const Control* a, const Control* b)
{
    auto key = [](const Control* c) {
        const int rank = tarvoRank(*c);
        return std::make_tuple(rank < 0 ? 1 : 0, rank, c->top(), c->left());
    };
    return key(a) < key(b);
}

} // namespace

ReaderRole readerRole(const Control& c)
{
    for (const Control* p = c.container(); p; p = p->container())
        if (readsAsText(*p))
            return ReaderRole::None;
    switch (c.kind()) {
    case Kind::Label:
        return c.decorative() ? ReaderRole::None : ReaderRole::Text;
    case Kind::OptionButton:
    case Kind::CommandButton:
        return ReaderRole::Button;
    case Kind::Frame:
        return ReaderRole::Group;
    case Kind::PictureBox:
        // Empty picture boxes are the curtains and the never-seen resizer.
        if (!holdsAnything(c))
            return ReaderRole::None;
        return readsAsText(c) ? ReaderRole::Text : ReaderRole::Group;
    case Kind::Shape:
    case Kind::Timer:
    case Kind::Menu:
        return ReaderRole::None;
    }
    return ReaderRole::None;
}

std::string verdictOf(Bgr colour)
{
    // The blink colours of a fully right tarvo say "right" as well.
    if (colour == ColoreGiusto || colour == Giallo || colour == GialloPallido)
        return "giusto";
    if (colour == ColoreSbagliato)
        return "sbagliato";
    return {};
}

std::string readerName(const Control& c)
{
    if (isAnswerCell(c))
        return fraseRaggio(c.window(), c.index());
    if (c.is(Kind::PictureBox) && readsAsText(c)) {
        std::vector<const Control*> letters;
        for (const auto& l : c.window().controls())
            if (l->is(Kind::Label) && inside(*l, c))
                letters.push_back(l.get());
        sortControls(letters, leftOf);
        std::string word;
        for (const Control* l : letters)
            word += trimmed(l->caption());
        return word;
    }
    return unspaced(c.shownCaption());
}

std::string readerDescription(const Control& c)
{
    const auto& back = c.backColor();
    if (isAnswerCell(c) && back)
        return verdictOf(*back);
    return {};
}

std::vector<const Control*> readerChildren(const Window& w, const Control* container)
{
    std::vector<const Control*> list;
    for (const auto& c : w.controls())
        if (c->container() == container && readerRole(*c) != ReaderRole::None)
            list.push_back(c.get());
    sortControls(list, readBefore);
    return list;
}

} // namespace tarvo
