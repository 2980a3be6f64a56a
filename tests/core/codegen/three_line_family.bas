Sub Calc(XXPP!, YYPP!, ANS00!, EFLG%)
   Dim Y!(10), YG1$(10), XZ!(10), YZ!(10), XXMAX!(10), XXMIN!(10), YYMAX!(10), YYMIN!(10)
   Dim XP1!(10), YP1!(10), X11!
   Dim XMIN!, XMAX!, YMIN!, YMAX!, X1!, NPARA%, JP1%, NNP%, NNPB%, CVC$, FFLG%, HMODE%, EQNO%
   Dim EXTRAP!, XEXP1!, XEXP2!, YEXP1!, YEXP2!, PEXP!, ZANS!, ANS11!, ANS22!, ANS33!, ANS44!
   Dim CFLG%, YTGT!, CHHBZ#, SIMZ%, NQ5%, NQ6%, BEKI5!, ALPAZ#, YPJ!, CHH#, FLGM%, YQ#
   Dim ALPA#, BEKI!, SIM%, NQ1%, NQ2%, CHHB#, EFLG0%, EFLG1%, EFLG2%, EFLG3%, EFLG4%, EFLG5%
   Dim EFLG6%, EFLG7%, EFLG8%, EFLG9%, EFLG10%
   Dim EQFAIL%, CVL%, YOK%(10)
   Dim P1#, P2#, P3#, W1#, W2#, W3#
   On Error GoTo EL100
   Rem   Calc XXPP! ,YYPP! , ANS00! , EFLG%
   Rem   XXPP!     X_Value   <input>
   Rem   YYPP!     Parameter <Input>
   Rem   ANS00!    Calc_Value<Output>
   Rem   EFLG%     計算処理FLG
   Rem   EFLG% = 0 --- <OK>
   Rem   EFLG% = 1 --- Ｘ値は０以下不可
   Rem   EFLG% = 2 --- Ｘ値は範囲外(Mode1)
   Rem   EFLG% = 3 --- ﾊﾟﾗﾒｰﾀ値は範囲外
   Rem   EFLG% = 4 --- 計算Ｙ値は範囲外
   Rem   EFLG% = 5 --- Ｘ値は範囲外(Mode2)
   Rem   EFLG% = 6 --- 未収束(Mode2)
   Rem   EFLG% = 7 --- 計算処理エラー
     XMIN! = .5 : XMAX! = 120
     YMIN! =-3 : YMAX! = 1500000
     X1! = XXPP!
     NPARA% = 3
Rem  各ラインのXmax、Xmin
     XXMIN!(2)= 1.5 : XXMAX!( 2)= 100
     XXMIN!(3)= .5 : XXMAX!( 3)= 120
     XXMIN!(1)= 1 : XXMAX!( 1)= 100
Rem  各ラインのYmax、Ymin
     YYMIN!(2)=-3 : YYMAX!( 2)= 250
     YYMIN!(3)= .25 : YYMAX!( 3)= 1500000
     YYMIN!(1)= 2 : YYMAX!( 1)= 101
Rem  各ラインのパラメータ値
   YG1$(1)="10"
   YG1$(2)="20"
   YG1$(3)="30"
   ANS00! = 0: ANS11! = 0: ANS33! = 0: ANS44! = 0
   For JP1% = 1 To NPARA%
      If YYPP! < CSng(Val(YG1$(JP1%))) Then
         NNP% = JP1%
         NNPB% = NNP%
         Exit For
      End If
   Next JP1%
'入力パラメータ(YYPP!)は NNPB%-1～NNPB% の間
   If NNP% = 0 Or NNP% = NPARA% Then NNP% = NPARA% - 1: NNPB% = NPARA%
   If NNP% = 1 Then NNP% = 2: NNPB% = NNP%
   CVC$ = "/" + Trim$(Str$(NNP% - 1)) + "/" + Trim$(Str$(NNP%)) + "/" + Trim$(Str$(NNP% + 1)) +"/"
   FFLG% = 0
   EFLG% = 0
   If XXPP! <= 0 Then
      If XXMIN!(NNPB% - 1) > 0 And XXMAX!(NNPB% - 1) > 0 Then FFLG% = 1
      If XXMIN!(NNPB%) > 0 And XXMAX!(NNPB%) > 0 Then FFLG% = 1
      If FFLG% >= 1 Then
         EFLG% = 1  '負は許されない
         GoTo LEND11
      End If
   End If
   FFLG% = 0
   EXTRAP! = 0.02
   XEXP1! = Abs(XMIN!) * EXTRAP!
   XEXP2! = Abs(XMAX!) * EXTRAP!
   YEXP1! = Abs(YMIN!) * EXTRAP!
   YEXP2! = Abs(YMAX!) * EXTRAP!
   If XXPP! < XXMIN!(NNPB% - 1) - XEXP1! Or XXPP! > XXMAX!(NNPB% - 1) + XEXP2! Then FFLG% = FFLG% + 1
   If XXPP! < XXMIN!(NNPB%) - XEXP1! Or XXPP! > XXMAX!(NNPB%) + XEXP2! Then FFLG% = FFLG% + 1
   If FFLG% = 2 Then
      EFLG% = 2     'Ｘ値が範囲外です
   End If

   PEXP! = (Val(YG1$(NPARA%)) - Val(YG1$(1))) * EXTRAP!
   If YYPP! < CSng(Val(YG1$(1)) * (1 - Sgn(Val(YG1$(1))) * EXTRAP!)) Or YYPP! > CSng(Val(YG1$(NPARA%)) * (1 + Sgn(Val(YG1$(NPARA%))) * EXTRAP!)) Then
      If EFLG% = 0 Then EFLG% = 3  'パラメータ値が範囲外です
   End If

   HMODE% = 0
   If InStr(CVC$,"/1/") <> 0 Then EQNO% = 1: GoSub EQ00: YOK%(1) = 1 - EQFAIL%
   If InStr(CVC$,"/2/") <> 0 Then EQNO% = 2: GoSub EQ00: YOK%(2) = 1 - EQFAIL%
   If InStr(CVC$,"/3/") <> 0 Then EQNO% = 3: GoSub EQ00: YOK%(3) = 1 - EQFAIL%
   If YOK%(NNPB% - 1) = 0 Or YOK%(NNPB%) = 0 Then EFLG% = 7: ANS00! = 0: GoTo LEND11
   If YOK%(NNP% - 1) + YOK%(NNP%) + YOK%(NNP% + 1) < 3 Then
      CVL% = 1
      CVC$ = "/" + Trim$(Str$(NNPB% - 1)) + "/" + Trim$(Str$(NNPB%)) + "/"
   End If
   GoSub CMATRIX
   ANS11! = ZANS!
   ANS00! = ANS11!
   FFLG% = 0
   If ZANS! < YYMIN!(NNPB% - 1) - YEXP1! Or ZANS! > YYMAX!(NNPB% - 1) + YEXP2! Then FFLG% = FFLG% + 1
   If ZANS! < YYMIN!(NNPB%) - YEXP1! Or ZANS! > YYMAX!(NNPB%) + YEXP2! Then FFLG% = FFLG% + 1
   If FFLG% = 2 And EFLG% = 0 Then EFLG% = 4

   If XXPP! = 0 Or ANS11! = 0 Then CFLG% = 2
   If CFLG% <= 1 Then
      FFLG% = 0
      YTGT! = ANS11! 'Assume Y Value
      ANS22! = 1E+15
      CHHBZ# = 1E+15
      X1! = XXPP!    'Input X Value
      SIMZ% = 1
      NQ5% = 0
      NQ6% = 0
      BEKI5! = 0.8
      HMODE% = 1

      Do Until Abs((CDbl(XXPP!) - ANS22!) / ANS22!) < 0.0001 And NQ5% > 3
         DoEvents
         NQ5% = NQ5% + 1
         NQ6% = NQ6% + 1
         If InStr(CVC$,"/1/") <> 0 Then
            EFLG1% = 0    '収束・発散
            GoSub INISET
            Do Until Abs((CDbl(YPJ!) - YTGT!) / YTGT!) < 0.0001 And NQ1% > 3
               EQNO% = 1: GoSub EQ00
               If EQFAIL% = 1 Then EFLG1% = 1: Exit Do
               If NQ1% > 200 Then EFLG1% = 1: Exit Do
               CHH# = Abs((CDbl(YPJ!) - YTGT!) / YTGT!)
               If CHHB# <> 1E+15 Then
                  If X1! < XMIN! - Abs(XMIN!) * 0.5 Or X1! > XMAX! + Abs(XMAX!) Then X1! = XXPP!
                  If CHH# > CHHB# And NQ2% > 2 Then X1! = XXPP!: BEKI! = BEKI! * 0.8: SIM% = -1 * SIM%: NQ2% = 0
               End If
               CHHB# = CHH#
            Loop
            XP1!(1) = X1!: YP1!(1) = Val(YG1$(1))
         End If
         If InStr(CVC$,"/2/") <> 0 Then
            EFLG2% = 0    '収束・発散
            GoSub INISET
            Do Until Abs((CDbl(YPJ!) - YTGT!) / YTGT!) < 0.0001 And NQ1% > 3
               EQNO% = 2: GoSub EQ00
               If EQFAIL% = 1 Then EFLG2% = 1: Exit Do
               If NQ1% > 200 Then EFLG2% = 1: Exit Do
               CHH# = Abs((CDbl(YPJ!) - YTGT!) / YTGT!)
               If CHHB# <> 1E+15 Then
                  If X1! < XMIN! - Abs(XMIN!) * 0.5 Or X1! > XMAX! + Abs(XMAX!) Then X1! = XXPP!
                  If CHH# > CHHB# And NQ2% > 2 Then X1! = XXPP!: BEKI! = BEKI! * 0.8: SIM% = -1 * SIM%: NQ2% = 0
               End If
               CHHB# = CHH#
            Loop
            XP1!(2) = X1!: YP1!(2) = Val(YG1$(2))
         End If
         If InStr(CVC$,"/3/") <> 0 Then
            EFLG3% = 0    '収束・発散
            GoSub INISET
            Do Until Abs((CDbl(YPJ!) - YTGT!) / YTGT!) < 0.0001 And NQ1% > 3
               EQNO% = 3: GoSub EQ00
               If EQFAIL% = 1 Then EFLG3% = 1: Exit Do
               If NQ1% > 200 Then EFLG3% = 1: Exit Do
               CHH# = Abs((CDbl(YPJ!) - YTGT!) / YTGT!)
               If CHHB# <> 1E+15 Then
                  If X1! < XMIN! - Abs(XMIN!) * 0.5 Or X1! > XMAX! + Abs(XMAX!) Then X1! = XXPP!
                  If CHH# > CHHB# And NQ2% > 2 Then X1! = XXPP!: BEKI! = BEKI! * 0.8: SIM% = -1 * SIM%: NQ2% = 0
               End If
               CHHB# = CHH#
            Loop
            XP1!(3) = X1!: YP1!(3) = Val(YG1$(3))
         End If
         GoSub CMATRIX
         ANS22! = ZANS!
         If ANS22! = 0 Then EFLG0% = 1: Exit Do

         YPJ! = XXPP!
         If SIMZ% = 1 Then
            If (YPJ! - ANS22!) > 0 Then ALPAZ# = CDbl(XXPP!) / ANS22! Else ALPAZ# = CDbl(ANS22!) / XXPP!
         Else
            If (YPJ! - ANS22!) > 0 Then ALPAZ# = CDbl(ANS22!) / XXPP! Else ALPAZ# = CDbl(XXPP!) / ANS22!
         End If
         YQ# = YTGT! * Abs(ALPAZ#) ^ BEKI5!
         If Abs(YQ#) < 1.1754944E-38 Or Abs(YQ#) > 3.402823E+38 Then EFLG0% = 1: Exit Do
         YTGT! = YQ#
         If NQ5% > 300 Then EFLG0% = 1: Exit Do
         CHH# = Abs((CDbl(YPJ!) - ANS22!) / ANS22!)
         If CHHBZ# <> 1E+15 Then
            If CHH# > CHHBZ# And NQ6% > 2 Then YTGT! = ANS11!: BEKI5! = BEKI5! * 0.8: SIMZ% = -1 * SIMZ%: NQ6% = 0
         End If
         CHHBZ# = CHH#
      Loop
      FLGM% = EFLG0% + EFLG1% + EFLG2% + EFLG3% + EFLG4% + EFLG5%
      FLGM% = FLGM% + EFLG6% + EFLG7% + EFLG8% + EFLG9% + EFLG10%
      If ANS11! <> 0 THEN
         If Abs((CDbl(ANS11!) - YTGT!) / ANS11!) <= 0.01 THEN FLGM% = 0 Else FLGM% = 1
      Else
         If Abs((CDbl(ANS11!) - YTGT!) / YTGT!) <= 0.01 THEN FLGM% = 0 Else FLGM% = 1
      End If
      If FLGM% <> 0 And EFLG% = 0 Then EFLG% = 6
      ANS33! = YTGT!
      FFLG% = 0
      If XP1!(NNPB% - 1) < XXMIN!(NNPB% - 1) - XEXP1! Or XP1!(NNPB% - 1) > XXMAX!(NNPB% - 1) + XEXP2! Then FFLG% = FFLG% + 1
      If XP1!(NNPB%) < XXMIN!(NNPB%) - XEXP1! Or XP1!(NNPB%) > XXMAX!(NNPB%) + XEXP2! Then FFLG% = FFLG% + 1
      If FFLG% = 2 And EFLG% = 0 Then EFLG% = 5
      If FLGM% = 0 Then
         ANS00! = (ANS11! + ANS33!) * 0.5
      Else
         ANS00! = ANS11!
      End If
   End If
   GoTo LEND11
'*************************************************************************
EQ00: Rem
   NQ1% = NQ1% + 1
   NQ2% = NQ2% + 1
   EQFAIL% = 0
   On Error GoTo EQ99
   Select Case EQNO%
      Case 1:
         YQ#=  2.00000E+00* X1! +  5.00000E-01
      Case 2:
         If X1! <= 12.5# Then
            YQ#=  3.00000E+00* Log(X1!) +  1.00000E+00
         Else
            YQ#= EXP(  1.00000E-01* X1! +  2.00000E+00 )
         End If
      Case 3:
         If X1! <= 8# Then
            YQ#=  4.00000E+00* X1! - 1.00000E+00
         Else
            If X1! <= 40# Then
               YQ#=  5.00000E+00* X1! - 2.00000E+00
            Else
               YQ#=  6.00000E+00* X1! - 3.00000E+00
            End If
         End If
   End Select
   If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0
   If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38
   Y!(EQNO%) = YQ#
   If HMODE% = 1 Then
      YPJ! = Y!(EQNO%)
      ALPA# = 1
      If YPJ! <> 0 Then
         If SIM% = 1 Then
            If (YPJ! - YTGT!) > 0 Then ALPA# = CDbl(YPJ!) / YTGT! Else ALPA# = CDbl(YTGT!) / YPJ!
         Else
            If (YPJ! - YTGT!) > 0 Then ALPA# = CDbl(YTGT!) / YPJ! Else ALPA# = CDbl(YPJ!) / YTGT!
         End If
      End If
      YQ# = X1! * Abs(ALPA#) ^ BEKI!
      If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0
      If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38
      X1! = YQ#
   End If
EQ98: Rem
   On Error GoTo EL100
Return
EQ99:
   EQFAIL% = 1
   Resume EQ98
'*************************************************************************
CMATRIX: Rem
   XZ!(1) = Val(YG1$(NNP% - 1))
   XZ!(2) = Val(YG1$(NNP%))
   XZ!(3) = Val(YG1$(NNP% + 1))
   If HMODE% = 0 Then
      YZ!(1) = Y!(NNP% - 1)
      YZ!(2) = Y!(NNP%)
      YZ!(3) = Y!(NNP% + 1)
   Else
      YZ!(1) = XP1!(NNP% - 1)
      YZ!(2) = XP1!(NNP%)
      YZ!(3) = XP1!(NNP% + 1)
   End If
   P1# = YYPP! - CDbl(XZ!(1)): P2# = YYPP! - CDbl(XZ!(2)): P3# = YYPP! - CDbl(XZ!(3))
   If CVL% = 1 Then
      W1# = 0: W2# = 0: W3# = 0
      If NNPB% = NNP% Then
         W1# = P2# / (P2# - P1#): W2# = P1# / (P1# - P2#)
      Else
         W2# = P3# / (P3# - P2#): W3# = P2# / (P2# - P3#)
      End If
   Else
      W1# = P2# / (P2# - P1#) * P3# / (P3# - P1#)
      W2# = P1# / (P1# - P2#) * P3# / (P3# - P2#)
      W3# = P1# / (P1# - P3#) * P2# / (P2# - P3#)
   End If
   YQ# = W1# * YZ!(1) + W2# * YZ!(2) + W3# * YZ!(3)
   If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0
   If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38
   ZANS! = YQ#
Return
'*************************************************************************
INISET:
   NQ1% = 0
   NQ2% = 0
   X1! = XXPP!    'Reset X Value to XXPP!
   SIM% = 1
   CHHB# = 1E+15
   BEKI! = 0.8
Return
'=========================================================================
EL100:
   EFLG% = 7: ANS00! = 0
   Resume LEND11
LEND11: Rem
 Rem  Form1.Text3.Text = Str$(ANS11!)
 Rem  Form1.Text4.Text = Str$(ANS33!)
   On Error GoTo 0
End Sub


