# Items that only the top level can hold, and texts and filters that need
# care to read back as they were.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.5
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.0
FILE_NAME: "top_level"

T: flash_name "FLASHNAME"
# An empty text: written without quotes.
T: empty_choice
# A text given by its help alone.
H: help_only "Only a help"
T: hidden_name "Hidden"
T: a "A"
T: b "B"
T: list_name "List"
# 5-3 is an empty range: the filter passes nothing.
CLF: nothing "5-3"
LP: lp_x = 0

SUBROUTINE: sr_ret
{
   RET
}

# Named only by a script, and its write script is a subroutine: it stays at
# top level, after the scripts.
VP: hidden
{
   T: hidden_name
   MIN: -5
   WS: sr_ret
}

# First named as a pre-screen script, where a line for a new id would define
# a PRE_SCREEN_SCRIPT: it stays at top level.
PSS: pss_shared
{
   CPY hidden lp_x
   CSIV flash_name
}

SCREEN_SINGLE_PARAM: first
{
   # A one-line declaration: bare drive parameters are declared at top level.
   P: motor 120
   PSS: pss_local
   {
      EXIT
   }
   NS: second
}

SCREEN_SINGLE_PARAM: second
{
   PRE_SCREEN_SCRIPT: pss_shared
   P: ctl 100
   {
      TO: help_only
      CLF: nothing
   }
   NS: third
}

SCREEN_SINGLE_PARAM: third
{
   VCP: pick
   {
      T: list_name
      CL: pick_list
      {
         a
         empty_choice
         b*
      }
   }
   PSS: pss_shared
}

# Shares its id with the first screen's PSS, which every name finds: both
# stay at top level in this order.
FIRST_SCREEN_SCRIPT: pss_local
{
   EXIT
}
