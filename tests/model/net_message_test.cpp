// The message reader on whole, split and broken streams: every message comes out once, in order,
// and a bad stream fails with the reason a player will be shown.
#include "model/net_message.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string stream_of(const std::vector<std::pair<uint8_t, std::string>>& messages, uint32_t first_sequence = 0) {
    GrowableArray<uint8_t> out{};
    uint32_t sequence = first_sequence;
    for (const auto& [kind, payload] : messages) net_write_message(&out, kind, sequence++, view_of(payload));
    return std::string(reinterpret_cast<const char*>(out.data), static_cast<size_t>(out.count));
}

struct ReadBack {
    std::vector<std::pair<uint8_t, std::string>> messages;
    NetReadResult last = net_read_waiting;
    std::string failure;
};

// Feeds the stream in pieces of the given size and collects what comes out.
ReadBack read_in_pieces(const std::string& stream, size_t piece, int64_t limit = net_host_message_limit) {
    NetReader reader{};
    net_reader_restart(&reader, limit);
    ReadBack back;
    for (size_t at = 0; at < stream.size() && back.last != net_read_failed; at += piece) {
        net_reader_feed(&reader, stream.data() + at, static_cast<int64_t>(std::min(piece, stream.size() - at)));
        NetMessage message;
        while ((back.last = net_reader_next(&reader, &message)) == net_read_message) {
            back.messages.emplace_back(message.kind, text_of(message.payload));
        }
    }
    back.failure = text_of(reader.failure);
    return back;
}

// The readers grow their buffers in the arenas, which the fixture makes.
class NetMessageTest : public ModelFixture {};

TEST_F(NetMessageTest, MessagesSplitAnywhereComeOutWholeAndInOrder) {
    std::string big(70000, 'x');
    std::vector<std::pair<uint8_t, std::string>> sent{
        {net_welcome, "seats"}, {net_still_here, ""}, {net_game_state, big}, {net_refusal, "No stone stands on that state"}};
    std::string stream = stream_of(sent);
    for (size_t piece : {size_t{1}, size_t{3}, size_t{10}, size_t{4096}, stream.size()}) {
        ReadBack back = read_in_pieces(stream, piece);
        EXPECT_EQ(back.messages, sent) << "pieces of " << piece;
        EXPECT_EQ(back.last, net_read_waiting);
    }
}

TEST_F(NetMessageTest, BadStreamsFailWithTheirReason) {
    std::string good = stream_of({{net_take_seat, "a"}, {net_draw_card, ""}});
    std::string wrong_version = good;
    wrong_version[0] = 2;
    EXPECT_EQ(read_in_pieces(wrong_version, 1).failure, "wrong version");
    // An HTTP request, say, is known by its first byte.
    EXPECT_EQ(read_in_pieces("GET / HTTP/1.1\r\n", 1).failure, "wrong version");
    EXPECT_EQ(read_in_pieces(stream_of({{net_take_seat, "a"}}, 1), 1).failure, "out of order");
    std::string repeated = stream_of({{net_take_seat, "a"}}) + stream_of({{net_take_seat, "a"}});
    ReadBack back = read_in_pieces(repeated, 5);
    EXPECT_EQ(back.messages.size(), 1u);
    EXPECT_EQ(back.failure, "out of order");
    EXPECT_EQ(read_in_pieces(stream_of({{net_choose_move, std::string(5000, 'm')}}), 7, net_client_message_limit).failure,
              "message too large");
    // The size is judged from the header alone, before a byte of the payload arrives.
    std::string header_only = stream_of({{net_game_state, std::string(100, 's')}}).substr(0, net_header_size);
    EXPECT_EQ(read_in_pieces(header_only, 1, 99).failure, "message too large");
}

TEST_F(NetMessageTest, FieldsReadBackAndShortPayloadsFail) {
    GrowableArray<uint8_t> payload{};
    net_put_u8(&payload, 5);
    net_put_i64(&payload, -3);
    net_put_text(&payload, str("Ab3"));
    NetFieldCursor cursor = net_fields(net_bytes_view(payload));
    EXPECT_EQ(net_take_u8(&cursor), 5);
    EXPECT_EQ(net_take_i64(&cursor), -3);
    EXPECT_EQ(text_of(net_take_text(&cursor)), "Ab3");
    EXPECT_TRUE(net_fields_done(&cursor));
    for (int64_t cut = 0; cut < payload.count; cut++) {
        NetFieldCursor short_cursor = net_fields(string{reinterpret_cast<const char*>(payload.data), cut});
        net_take_u8(&short_cursor);
        net_take_i64(&short_cursor);
        net_take_text(&short_cursor);
        EXPECT_FALSE(net_fields_done(&short_cursor)) << cut;
    }
    NetFieldCursor long_cursor = net_fields(net_bytes_view(payload));
    net_take_u8(&long_cursor);
    EXPECT_FALSE(net_fields_done(&long_cursor));
}

}  // namespace
