# Next-screen scripts that screens share and call: the one that two use gets
# a node of its own, the one that only it calls is drawn from that node, and
# a script called once is drawn as its caller's edges.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "shared"

T: hello "Hello"
LP: lp_mode = 0

NSS: common
{
   BEQ lp_mode lp_mode 1
   SNS c
   LBL 1
   CALL tail
}

NSS: tail
{
   SNS d
}

NSS: once
{
   SNS a
}

SCREEN_OVERLAY: a
{
   OVERLAY: o_a
   {
      T: hello
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NSS: pick_a
   {
      BEQ lp_mode lp_mode 1
      SNS b
      LBL 1
      CALL common
   }
}

SCREEN_OVERLAY: b
{
   OVERLAY: o_a
   NSS: pick_b
   {
      CALL common
   }
}

SCREEN_OVERLAY: c
{
   OVERLAY: o_a
   NS: d
}

SCREEN_OVERLAY: d
{
   OVERLAY: o_a
   NSS: pick_d
   {
      CALL once
   }
}
