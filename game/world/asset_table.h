// The game's load list: every picture and sound it loads at start-up, in
// load order, each with its kind, its piece grid and the handle variable it
// fills. The scenes walk it to load; the placeholder-asset tool writes every
// file from it at its size and grid.
#pragma once

#include <cstdint>

namespace orb {

// ORB_DIVIDED(handle array, file, pieces, across, down, piece width, piece height)
// ORB_WHOLE(handle, file)
// ORB_SOUND(handle, file), loaded with 3 buffers; a file may fill several handles.
#define ORB_ASSET_LIST(ORB_DIVIDED, ORB_WHOLE, ORB_SOUND) \
  ORB_DIVIDED(grTovel, "gr\\tovel.bmp", 16, 4, 4, 128, 128) \
  ORB_DIVIDED(grQuenby, "gr\\quenby.bmp", 18, 4, 5, 128, 128) \
  ORB_DIVIDED(grDorrin, "gr\\dorrin.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grFriska, "gr\\friska.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grGorvath, "gr\\gorvath.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grLismet, "gr\\lismet.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grVerrow, "gr\\verrow.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grNocta, "gr\\nocta.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grKessel, "gr\\kessel.bmp", 15, 4, 4, 128, 128) \
  ORB_DIVIDED(grPallow, "gr\\pallow.bmp", 14, 4, 4, 128, 128) \
  ORB_DIVIDED(grZindra, "gr\\zindra.bmp", 15, 4, 4, 128, 128) \
  ORB_DIVIDED(grDorrinzako, "gr\\dorrinzako.bmp", 7, 4, 4, 64, 64) \
  ORB_DIVIDED(grPell, "gr\\pell.bmp", 8, 4, 2, 128, 128) \
  ORB_DIVIDED(grMossling, "gr\\mossling.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grHaridama, "gr\\haridama.bmp", 1, 1, 1, 64, 64) \
  ORB_DIVIDED(grKarasu, "gr\\karasu.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grKedama1, "gr\\kedama1.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama2, "gr\\kedama2.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama3, "gr\\kedama3.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama4, "gr\\kedama4.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama5, "gr\\kedama5.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama6, "gr\\kedama6.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama7, "gr\\kedama7.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama8, "gr\\kedama8.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grKedama9, "gr\\kedama9.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grVernette, "gr\\vernette.bmp", 1, 1, 1, 64, 64) \
  ORB_DIVIDED(grImpkin, "gr\\impkin.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grKedamabig1, "gr\\kedamabig1.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grKedamabig2, "gr\\kedamabig2.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grKedamabig3, "gr\\kedamabig3.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grKedamam1, "gr\\kedamam1.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam2, "gr\\kedamam2.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam3, "gr\\kedamam3.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam4, "gr\\kedamam4.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam5, "gr\\kedamam5.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam6, "gr\\kedamam6.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam7, "gr\\kedamam7.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam8, "gr\\kedamam8.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grKedamam9, "gr\\kedamam9.bmp", 4, 4, 1, 32, 32) \
  ORB_DIVIDED(grDimmet, "gr\\dimmet.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grMaidyouseim1, "gr\\maidyouseim1.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim2, "gr\\maidyouseim2.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim3, "gr\\maidyouseim3.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim4, "gr\\maidyouseim4.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim5, "gr\\maidyouseim5.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim6, "gr\\maidyouseim6.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim7, "gr\\maidyouseim7.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim8, "gr\\maidyouseim8.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseim9, "gr\\maidyouseim9.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grMaidyouseibig1, "gr\\maidyouseibig1.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grMaidyouseibig2, "gr\\maidyouseibig2.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grHornwell, "gr\\hornwell.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grTrillow, "gr\\trillow.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grCorvane, "gr\\corvane.bmp", 3, 4, 2, 128, 128) \
  ORB_DIVIDED(grRibbonyouseim1, "gr\\ribbonyouseim1.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim2, "gr\\ribbonyouseim2.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim3, "gr\\ribbonyouseim3.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim4, "gr\\ribbonyouseim4.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim5, "gr\\ribbonyouseim5.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim6, "gr\\ribbonyouseim6.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim7, "gr\\ribbonyouseim7.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grRibbonyouseim8, "gr\\ribbonyouseim8.bmp", 9, 4, 4, 64, 64) \
  ORB_DIVIDED(grGlimmick, "gr\\glimmick.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grKeyling, "gr\\keyling.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grDuskel, "gr\\duskel.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grBowring, "gr\\bowring.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grSpangle, "gr\\spangle.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grBrightel, "gr\\brightel.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grHopsy, "gr\\hopsy.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grWhiskit, "gr\\whiskit.bmp", 12, 4, 4, 128, 128) \
  ORB_DIVIDED(grRavette, "gr\\ravette.bmp", 7, 4, 2, 128, 128) \
  ORB_DIVIDED(grYuurei1, "gr\\yuurei1.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grYuurei2, "gr\\yuurei2.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grYuurei3, "gr\\yuurei3.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grYuurei4, "gr\\yuurei4.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(grYuureibig1, "gr\\yuureibig1.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grYuureibig2, "gr\\yuureibig2.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grSwitch, "gr\\switch.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(grSwitchb, "gr\\switchb.bmp", 4, 4, 1, 128, 128) \
  ORB_DIVIDED(blockBelt32, "block\\belt32.bmp", 8, 1, 8, 32, 32) \
  ORB_DIVIDED(blockBelt64, "block\\belt64.bmp", 8, 1, 8, 64, 32) \
  ORB_DIVIDED(blockBelt128, "block\\belt128.bmp", 8, 1, 8, 128, 32) \
  ORB_DIVIDED(blockBelt32b, "block\\belt32b.bmp", 8, 1, 8, 32, 32) \
  ORB_DIVIDED(blockBelt64b, "block\\belt64b.bmp", 8, 1, 8, 64, 32) \
  ORB_DIVIDED(blockBelt128b, "block\\belt128b.bmp", 8, 1, 8, 128, 32) \
  ORB_DIVIDED(blockIwa3232, "block\\iwa3232.bmp", 2, 2, 1, 32, 32) \
  ORB_DIVIDED(blockIwa6432, "block\\iwa6432.bmp", 2, 2, 1, 64, 32) \
  ORB_DIVIDED(blockIwa3264, "block\\iwa3264.bmp", 2, 2, 1, 32, 64) \
  ORB_DIVIDED(blockIwa6464, "block\\iwa6464.bmp", 2, 2, 1, 64, 64) \
  ORB_DIVIDED(blockBlock32, "block\\block32.bmp", 8, 2, 4, 32, 32) \
  ORB_DIVIDED(blockBlock64, "block\\block64.bmp", 8, 2, 4, 64, 32) \
  ORB_DIVIDED(blockBlock128, "block\\block128.bmp", 8, 2, 4, 128, 32) \
  ORB_DIVIDED(blockBlockh, "block\\blockh.bmp", 8, 2, 4, 64, 32) \
  ORB_DIVIDED(blockBlockhl, "block\\blockhl.bmp", 4, 1, 4, 128, 32) \
  ORB_DIVIDED(blockBlockhk, "block\\blockhk.bmp", 1, 1, 1, 16, 480) \
  ORB_DIVIDED(blockMaruta, "block\\maruta.bmp", 2, 1, 2, 64, 32) \
  ORB_DIVIDED(blockSuujired, "block\\suujired.bmp", 10, 1, 10, 64, 32) \
  ORB_DIVIDED(blockSuujiblue, "block\\suujiblue.bmp", 10, 1, 10, 64, 32) \
  ORB_DIVIDED(blockYajirusired, "block\\yajirusired.bmp", 16, 4, 4, 32, 32) \
  ORB_DIVIDED(blockYajirusiblue, "block\\yajirusiblue.bmp", 16, 4, 4, 32, 32) \
  ORB_DIVIDED(blockKooria, "block\\kooria.bmp", 2, 2, 1, 64, 64) \
  ORB_DIVIDED(blockKoorib, "block\\koorib.bmp", 2, 2, 1, 64, 64) \
  ORB_DIVIDED(blockFurikoa, "block\\furikoa.bmp", 1, 1, 1, 64, 64) \
  ORB_DIVIDED(blockFurikob, "block\\furikob.bmp", 1, 1, 1, 16, 512) \
  ORB_DIVIDED(effectBomb, "effect\\bomb.bmp", 32, 8, 4, 128, 128) \
  ORB_DIVIDED(effectTamaa, "effect\\tamaa.bmp", 16, 4, 4, 16, 16) \
  ORB_DIVIDED(effectTamab, "effect\\tamab.bmp", 16, 4, 4, 32, 32) \
  ORB_DIVIDED(effectTamac, "effect\\tamac.bmp", 4, 1, 4, 32, 32) \
  ORB_DIVIDED(effectTamad, "effect\\tamad.bmp", 4, 1, 4, 32, 32) \
  ORB_DIVIDED(effectTamae, "effect\\tamae.bmp", 4, 1, 4, 32, 32) \
  ORB_DIVIDED(effectTamaf, "effect\\tamaf.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectTamafire, "effect\\tamafire.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(effectTamag, "effect\\tamag.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectTamahari, "effect\\tamahari.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectTamaknife, "effect\\tamaknife.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectTamakoori, "effect\\tamakoori.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectTamakunai, "effect\\tamakunai.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectTamamissile, "effect\\tamamissile.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectTamastar, "effect\\tamastar.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectTamayuurei, "effect\\tamayuurei.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(effectTatumaki, "effect\\tatumaki.bmp", 8, 4, 2, 64, 64) \
  ORB_DIVIDED(effectTamaonnpu, "effect\\tamaonnpu.bmp", 4, 1, 4, 64, 64) \
  ORB_DIVIDED(effectLife, "effect\\life.bmp", 1, 1, 1, 256, 12) \
  ORB_DIVIDED(effectLifeb, "effect\\lifeb.bmp", 1, 1, 1, 256, 14) \
  ORB_DIVIDED(effectLifec, "effect\\lifec.bmp", 2, 2, 1, 3, 14) \
  ORB_DIVIDED(effectLifem, "effect\\lifem.bmp", 1, 1, 1, 64, 6) \
  ORB_DIVIDED(effectBlife, "effect\\blife.bmp", 1, 1, 1, 512, 12) \
  ORB_DIVIDED(effectBlifeb, "effect\\blifeb.bmp", 1, 1, 1, 512, 14) \
  ORB_DIVIDED(effectBoss, "effect\\boss.bmp", 1, 1, 1, 64, 32) \
  ORB_DIVIDED(effectSukima, "effect\\sukima.bmp", 15, 5, 3, 128, 128) \
  ORB_DIVIDED(effectLitem, "effect\\litem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectSitem, "effect\\sitem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectFitem, "effect\\fitem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectUpitem, "effect\\upitem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectBlitem, "effect\\blitem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectBsitem, "effect\\bsitem.bmp", 1, 1, 1, 32, 32) \
  ORB_DIVIDED(effectTitem, "effect\\titem.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(effectRitem, "effect\\ritem.bmp", 4, 4, 1, 64, 64) \
  ORB_DIVIDED(effectCharawin, "effect\\charawin.bmp", 11, 5, 3, 128, 48) \
  ORB_DIVIDED(effectItemwin, "effect\\itemwin.bmp", 1, 1, 1, 640, 32) \
  ORB_DIVIDED(effectPlayerwin, "effect\\playerwin.bmp", 2, 1, 2, 128, 48) \
  ORB_DIVIDED(effectPlayerwin2, "effect\\playerwin2.bmp", 2, 1, 2, 80, 32) \
  ORB_DIVIDED(effectPlayer12, "effect\\player12.bmp", 8, 2, 4, 32, 32) \
  ORB_DIVIDED(effectHozonn, "effect\\hozonn.bmp", 2, 2, 1, 128, 32) \
  ORB_DIVIDED(effectNumber, "effect\\number.bmp", 12, 12, 1, 32, 32) \
  ORB_DIVIDED(effectGameover, "effect\\gameover.bmp", 1, 1, 1, 256, 64) \
  ORB_DIVIDED(titleTitle, "title\\title.bmp", 1, 1, 1, 512, 128) \
  ORB_DIVIDED(titleTitlehaik, "title\\titlehaik.bmp", 1, 1, 1, 640, 480) \
  ORB_DIVIDED(titleTitlehaikkumo, "title\\titlehaikkumo.bmp", 1, 1, 1, 640, 480) \
  ORB_DIVIDED(titleMenu, "title\\menu.bmp", 4, 1, 4, 256, 32) \
  ORB_DIVIDED(titleOnnmyou, "title\\onnmyou.bmp", 1, 1, 1, 31, 31) \
  ORB_DIVIDED(titleLevel, "title\\level.bmp", 4, 1, 4, 256, 32) \
  ORB_DIVIDED(titleLevelmenu, "title\\levelmenu.bmp", 4, 1, 4, 512, 96) \
  ORB_DIVIDED(titleFile, "title\\file.bmp", 3, 1, 3, 512, 128) \
  ORB_DIVIDED(titleFace, "title\\face.bmp", 10, 5, 2, 32, 32) \
  ORB_DIVIDED(titleNewgame, "title\\newgame.bmp", 1, 1, 1, 256, 32) \
  ORB_DIVIDED(titleOptionmenu, "title\\optionmenu.bmp", 7, 1, 7, 192, 32) \
  ORB_DIVIDED(titlePadmenu, "title\\padmenu.bmp", 8, 1, 8, 128, 32) \
  ORB_DIVIDED(titlePadnum, "title\\padnum.bmp", 10, 1, 10, 32, 32) \
  ORB_DIVIDED(titlePadmenu2, "title\\padmenu2.bmp", 8, 1, 8, 128, 32) \
  ORB_DIVIDED(titlePadnum2, "title\\padnum2.bmp", 10, 1, 10, 32, 32) \
  ORB_DIVIDED(titlePad, "title\\pad.bmp", 2, 1, 2, 64, 32) \
  ORB_DIVIDED(titleCharaname, "title\\charaname.bmp", 10, 2, 5, 160, 64) \
  ORB_DIVIDED(titleCharasetu, "title\\charasetu.bmp", 10, 2, 5, 320, 128) \
  ORB_DIVIDED(titleTaireiryoku, "title\\taireiryoku.bmp", 2, 1, 2, 64, 32) \
  ORB_DIVIDED(titleStaff, "title\\staff.bmp", 5, 1, 5, 640, 32) \
  ORB_DIVIDED(titleThank, "title\\thank.bmp", 3, 1, 3, 512, 32) \
  ORB_DIVIDED(titleOp, "title\\op.bmp", 7, 1, 7, 512, 32) \
  ORB_WHOLE(titleTovelt, "title\\tovelt.bmp") \
  ORB_WHOLE(titleQuenbyt, "title\\quenbyt.bmp") \
  ORB_WHOLE(titleDorrint, "title\\dorrint.bmp") \
  ORB_WHOLE(titleFriskat, "title\\friskat.bmp") \
  ORB_WHOLE(titleGorvatht, "title\\gorvatht.bmp") \
  ORB_WHOLE(titleLismett, "title\\lismett.bmp") \
  ORB_WHOLE(titleVerrowt, "title\\verrowt.bmp") \
  ORB_WHOLE(titleNoctat, "title\\noctat.bmp") \
  ORB_WHOLE(titleKesselt, "title\\kesselt.bmp") \
  ORB_WHOLE(titlePallowt, "title\\pallowt.bmp") \
  ORB_WHOLE(titleNakamani, "title\\nakamani.bmp") \
  ORB_WHOLE(titleOshimai, "title\\oshimai.bmp") \
  ORB_WHOLE(titleOpening, "title\\opening.bmp") \
  ORB_WHOLE(backBlue, "back\\blue.bmp") \
  ORB_WHOLE(backBacksukima0, "back\\backsukima0.bmp") \
  ORB_WHOLE(backBacksukima1, "back\\backsukima1.bmp") \
  ORB_WHOLE(backBackkumo, "back\\backkumo.bmp") \
  ORB_SOUND(seAttack0, "sddata\\attack0.wav") \
  ORB_SOUND(seAttack1, "sddata\\attack1.wav") \
  ORB_SOUND(seAttack3, "sddata\\attack3.wav") \
  ORB_SOUND(seAttack2, "sddata\\attack2.wav") \
  ORB_SOUND(seAttack4, "sddata\\attack4.wav") \
  ORB_SOUND(seAttack0b, "sddata\\attack0.wav") \
  ORB_SOUND(seAttack1b, "sddata\\attack1.wav") \
  ORB_SOUND(seAttack2b, "sddata\\attack2.wav") \
  ORB_SOUND(seAttack5, "sddata\\attack5.wav") \
  ORB_SOUND(seAttack4b, "sddata\\attack4.wav") \
  ORB_SOUND(seShot2, "sddata\\shot2.wav") \
  ORB_SOUND(seShot7, "sddata\\shot7.wav") \
  ORB_SOUND(seShot3, "sddata\\shot3.wav") \
  ORB_SOUND(seShot4, "sddata\\shot4.wav") \
  ORB_SOUND(seShot7b, "sddata\\shot7.wav") \
  ORB_SOUND(seShot0, "sddata\\shot0.wav") \
  ORB_SOUND(seShot7c, "sddata\\shot7.wav") \
  ORB_SOUND(seShot3b, "sddata\\shot3.wav") \
  ORB_SOUND(seShot7d, "sddata\\shot7.wav") \
  ORB_SOUND(seShot8, "sddata\\shot8.wav") \
  ORB_SOUND(seShot5, "sddata\\shot5.wav") \
  ORB_SOUND(seShot6, "sddata\\shot6.wav") \
  ORB_SOUND(seShot9, "sddata\\shot9.wav") \
  ORB_SOUND(seDamage0, "sddata\\damage0.wav") \
  ORB_SOUND(seHit0, "sddata\\hit0.wav") \
  ORB_SOUND(seBomb0, "sddata\\bomb0.wav") \
  ORB_SOUND(seShothit0, "sddata\\shothit0.wav") \
  ORB_SOUND(seShield0, "sddata\\shield0.wav") \
  ORB_SOUND(seSelect, "sddata\\select.wav") \
  ORB_SOUND(seCancel, "sddata\\cancel.wav") \
  ORB_SOUND(seDecide, "sddata\\decide.wav") \
  ORB_SOUND(seClose, "sddata\\close.wav") \
  ORB_SOUND(seFull, "sddata\\full.wav") \
  ORB_SOUND(seSitem, "sddata\\sitem.wav") \
  ORB_SOUND(seRtitem, "sddata\\rtitem.wav") \
  ORB_SOUND(seUpitem, "sddata\\upitem.wav") \
  ORB_SOUND(seLitem, "sddata\\litem.wav") \
  ORB_SOUND(seNakama, "sddata\\nakama.wav") \
  ORB_SOUND(seOpen, "sddata\\open.wav") \
  ORB_SOUND(seDead, "sddata\\dead.wav") \
  ORB_SOUND(seBossup, "sddata\\bossup.wav") \
  ORB_SOUND(seSwitchon, "sddata\\switchon.wav") \
  ORB_SOUND(seBosscrash, "sddata\\bosscrash.wav") \
  ORB_SOUND(seCount, "sddata\\count.wav")

enum class AssetKind : uint8_t { DividedGraph, WholeGraph, Sound, BlankGraph };

struct AssetHandles {
#define ORB_DECLARE_DIVIDED(name, file, pieces, across, down, w, h) int name[pieces];
#define ORB_DECLARE_ONE(name, file) int name;
  ORB_ASSET_LIST(ORB_DECLARE_DIVIDED, ORB_DECLARE_ONE, ORB_DECLARE_ONE)
#undef ORB_DECLARE_DIVIDED
#undef ORB_DECLARE_ONE
  int stateBackdrop;  // blank 640 x 480 graph for the state screens
};

struct AssetEntry {
  const char* file;  // nullptr for the blank graph
  AssetKind kind;
  int32_t pieces;
  int32_t across, down;
  int32_t pieceWidth, pieceHeight;  // the blank graph's size; 0 for whole pictures and sounds
  int* handles;  // pieces handles
};

extern AssetHandles assets;

// The load list: 229 files and the blank graph, in load order.
const AssetEntry* AssetTable();
int AssetTableSize();

// Every handle -1 (nothing loaded), as at program load.
void ResetAssetHandles();

// The handles of a character's sprite sheet (0 to 9), or nullptr.
const int* CharacterSheet(int character);

}  // namespace orb
